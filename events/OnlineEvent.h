// The panel's unsolicited event lines (payload, CR LF, signal value) decoded into rows of the
// online event log: keyfob, keypad, radio relay and radio sensor reports and relay output states.
// Pure text; any thread (the link thread in the program).
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace nvx {

inline constexpr std::size_t kOnlineLogColumns = 7;

inline constexpr std::array<std::string_view, kOnlineLogColumns> kOnlineLogHeaders = {
    "№", "Время события", "Тип устройства", "Номер устройства", "Тип события", "Событие", "Ослабление сигнала, dBm"};

// One row of the log without its number, which the grid gives when the row is appended.
struct OnlineEventRow {
    std::string time;
    std::string deviceType;
    std::string number;  // decimal, "-1" when the payload's number is not hexadecimal
    std::string eventType;
    std::string event;
    std::string level;

    // The six columns as the grid's row append takes them: one line per column.
    std::string GridText() const;
    bool operator==(const OnlineEventRow&) const = default;
};

// Decodes one event input; `time` is the decoding time as the rows show it. An input that is not
// an event of a known form gives no row. Never throws for any input.
std::vector<OnlineEventRow> DecodeEventRows(std::string_view input, const std::string& time);

// The signal value as the log shows it: the part before the first ":", a decimal number (0 when
// it is not one), values below -110 raised by 100.
std::string SignalLevelText(std::string_view line);

// The local date and time in the short date and long time form the log shows ("dd.MM.yyyy HH:mm:ss").
std::string OnlineEventTimeNow();

}  // namespace nvx
