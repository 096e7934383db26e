// How the panel-wide settings of the general page travel on the wire: completion of the object
// number and the master key, the GSM quality answer, the output, alarm-button, siren, keypad-lock
// and buzzer values, and the clock text. Pure functions, any thread.
#pragma once

#include <ctime>
#include <optional>
#include <string>

namespace nvx {

inline constexpr const char* kDefaultObjectNumber = "0050";

// Lock times the page offers, in minutes; item i of the list is kFirstLockMinutes + i.
inline constexpr int kFirstLockMinutes = 5;
inline constexpr int kLastLockMinutes = 15;

// Four characters: a text of another length is completed on the left with zeros (and cut to its
// last four); "0000" is not a valid object number and becomes the default.
std::string ObjectNumberToSend(const std::string& text);

// Four characters: a text of another length is completed on the left with the default key (and
// cut to its last four).
std::string MasterKeyToSend(const std::string& text, const std::string& defaultKey);

// "+AQ": signal level in positions 1-2 and error level in positions 4-5, both hexadecimal.
struct SignalQuality {
    int signal = 0;     // as shown; 99 = no value
    int signalBar = 0;  // 0..31
    int error = 0;      // 0..7, 99 shown as 7
    int errorBar = 0;   // 0..7
};
std::optional<SignalQuality> DecodeSignalQuality(const std::string& value);

// "+e": control type digit, then the value digit.
struct Outputs {
    bool atCommands = false;  // false: automatic
    int values = 0;           // 0 both off, 1 first on, 2 second on, 3 both on
};
std::optional<Outputs> DecodeOutputs(const std::string& value);
std::string EncodeOutputs(const Outputs& outputs);

// "+C": one digit.
enum class AlarmButtons { Instant = 0, Off = 1, Hold4s = 2 };
std::optional<AlarmButtons> DecodeAlarmButtons(const std::string& value);
std::string EncodeAlarmButtons(AlarmButtons mode);

// "+yt": keypad button, then keyfob button, "1" each for the siren on.
struct Sirens {
    bool keypad = false;
    bool keyfob = false;
};
Sirens DecodeSirens(const std::string& value);
std::string EncodeSirens(const Sirens& sirens);

// "+n": one byte, bit 7 the lock, bits 0..5 the minutes; bit 6 is ignored on read, set on write.
struct KeypadLock {
    bool on = false;
    int minutes = 0;
};
std::optional<KeypadLock> DecodeKeypadLock(const std::string& value);
// The minutes are the first run of decimal digits of the chosen list item's text; nothing when it
// holds none.
std::optional<std::string> EncodeKeypadLock(bool on, const std::string& lockTimeItem);
// The list item for a lock time, -1 when the list offers none.
int LockTimeItem(int minutes);

// "+db": read as a decimal number, 1 = on; written as "01" or "00".
std::optional<bool> DecodeBuzzer(const std::string& value);
std::string EncodeBuzzer(bool on);

// "HH:MM:SS DD/MM/YY", 24-hour time, each part two digits.
std::string ClockText(const std::tm& localTime);

}  // namespace nvx
