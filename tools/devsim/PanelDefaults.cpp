#include "PanelDefaults.h"

namespace devsim {

const std::map<std::string, std::string>& PanelDefaults()
{
    static const std::map<std::string, std::string> defaults = {
        {"l", "0"},       // mode: 0 working, 1 enrolling sensors, 3 enrolling keyfobs
        {"vp", "000000"}, // processor and board: 5th character "1" = newer chip, 6th = hardware variant
        {"dk", "0"},      // board selector of the firmware images
        {"c1", "0A0"},    // converter reading of the wired loops, 3 hexadecimal digits
        // General settings; the clock, the master key and start, stop and restart are in PanelGeneralCommands.
        {"o", "0050"},   // object number, 4 hexadecimal digits
        {"AQ", "14,00"}, // GSM signal level and error level, 2 hexadecimal digits each
        {"e", "00"},     // outputs: control type digit, value digit
        {"C", "0"},      // alarm buttons: 0 instant, 1 off, 2 hold 4 s
        {"yt", "00"},    // siren on the keypad and on the keyfob emergency button
        {"n", "45"},     // keypad lock byte: bit 7 on, bits 0..5 minutes
        {"dw", "0"},     // arming delay after a restart
        {"db", "1"},     // buzzer: 1 on
        // Communication channels: phones h0..h7, the types of the configured channels ("+D": items
        // of index and wire code, blank-separated), the directions AND0..AND7 (channel indices,
        // empty ends the list), the direction transition DO, GPRS online through the SIM GA.
        {"h0", ""}, {"h1", ""}, {"h2", ""}, {"h3", ""}, {"h4", ""}, {"h5", ""}, {"h6", ""}, {"h7", ""},
        {"D", ""},
        {"AND0", ""}, {"AND1", ""}, {"AND2", ""}, {"AND3", ""},
        {"AND4", ""}, {"AND5", ""}, {"AND6", ""}, {"AND7", ""},
        {"DO", "0"},
        {"GA", "0"},
        // GPRS: dial string, access point, user, password, servers 0 and 1 (address, port,
        // identification password), pause between attempts (minutes and "00"), compression.
        {"GC", "*99#"}, {"GN", "internet"}, {"GU", ""}, {"GP", ""},
        {"GS0", "0.0.0.0"}, {"GG0", "3058"}, {"GI0", "00000000"},
        {"GS1", "0.0.0.0"}, {"GG1", "3058"}, {"GI1", "00000000"},
        {"GT", "0500"},
        {"P", "0"},
        // Radio sensor slots z01..z20 (7-character records) and keyfob slots b01..b10 (4 characters),
        // all free; the learn modes and the learn command are in PanelRadio.
        {"z01", "01FFFFF"}, {"z02", "02FFFFF"}, {"z03", "03FFFFF"}, {"z04", "04FFFFF"},
        {"z05", "05FFFFF"}, {"z06", "06FFFFF"}, {"z07", "07FFFFF"}, {"z08", "08FFFFF"},
        {"z09", "09FFFFF"}, {"z0A", "0AFFFFF"}, {"z0B", "0BFFFFF"}, {"z0C", "0CFFFFF"},
        {"z0D", "0DFFFFF"}, {"z0E", "0EFFFFF"}, {"z0F", "0FFFFFF"}, {"z10", "10FFFFF"},
        {"z11", "11FFFFF"}, {"z12", "12FFFFF"}, {"z13", "13FFFFF"}, {"z14", "14FFFFF"},
        {"z15", "15FFFFF"}, {"z16", "16FFFFF"}, {"z17", "17FFFFF"}, {"z18", "18FFFFF"},
        {"z19", "19FFFFF"}, {"z1A", "1AFFFFF"}, {"z1B", "1BFFFFF"}, {"z1C", "1CFFFFF"},
        {"z1D", "1DFFFFF"}, {"z1E", "1EFFFFF"}, {"z1F", "1FFFFFF"}, {"z20", "20FFFFF"},
        {"b01", "01FF"}, {"b02", "02FF"}, {"b03", "03FF"}, {"b04", "04FF"},
        {"b05", "05FF"}, {"b06", "06FF"}, {"b07", "07FF"}, {"b08", "08FF"},
        {"b09", "09FF"}, {"b0A", "0AFF"}, {"b0B", "0BFF"}, {"b0C", "0CFF"},
        {"b0D", "0DFF"}, {"b0E", "0EFF"}, {"b0F", "0FFF"}, {"b10", "10FF"},
        // Partitions: six records of state, quick arming, quick arming 2, wait for an empty log, siren,
        // 24-hour and fire flags, exit delay (2 hexadecimal digits) and row index (PanelPartitions.cpp
        // writes them one at a time); EXIT-button byte, events per partition (hex, 0 = no limit), siren
        // duration (hex), siren off by cancel, siren modes (fire, fire possibility, burglary), OK2 flags,
        // fire-possibility byte, fire threshold (hex).
        {"p", "00001001E0 00001001E1 00001001E2 00001001E3 00001001E4 00001001E5"},
        {"x", "00"}, {"CA", "0A"}, {"y", "1E"}, {"yc", "0"}, {"ym", "333"},
        {"da", "000000"}, {"dn", "00"}, {"ds", "01"},
        // Wired loops: thresholds t1..t5 (3 hexadecimal digits each), resistors R1..R3 (a byte each),
        // loop parameters (type, then per loop measured input, normal state, partition index, zone
        // type, entry delay in 2 hexadecimal digits; PanelLoops keeps the inputs on a write), events.
        {"wt", "0401412022C23E8"}, {"M", "08050A"}, {"wz", "1005000005000"}, {"dp", "00"},
    };
    return defaults;
}

} // namespace devsim
