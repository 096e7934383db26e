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
    };
    return defaults;
}

} // namespace devsim
