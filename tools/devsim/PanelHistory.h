// The panel's event history: a log of records numbered 0 to N - 1, the position "+FP" reports, the
// record "+ferXXXX" hands out, the erase "+FH", and the faults a record can show: reads that fail, a
// wrong check digit, a message whose check digit cannot be computed. Emulator thread.
#pragma once

#include "CommandSyntax.h"
#include "Device.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace devsim {

struct PanelHistoryConfig {
    static constexpr std::uint32_t kMaxRecords = 65536;
    static constexpr int kAlways = -1;

    std::uint32_t records = 0;            // records 0 .. records - 1 hold events; the rest are empty
    std::map<std::uint16_t, int> failing; // record -> reads answered with the failed-read marker
    std::set<std::uint16_t> badChecksums; // a check digit that does not match
    std::set<std::uint16_t> uncheckable;  // a ":" in the message: no check digit can be computed
};

class PanelHistory {
public:
    explicit PanelHistory(PanelHistoryConfig config) : config_(std::move(config)) {}

    // Nothing when the command is not one of the history's, so that the settings store answers it.
    std::optional<Reply> handle(const Command& command);

    // Run-time changes: "history N" (a new log of N records), "history-fail N [TIMES]",
    // "history-bad-sum N", "history-uncheckable N". False for another verb or a bad argument.
    bool control(const std::string& verb, const std::string& argument);

    std::uint32_t records() const { return config_.records; }

    // The 39-character record that event number `number` is stored as (without faults).
    static std::string EventRecord(std::uint16_t number);
    static constexpr const char* kEmptySlot = "31:63:63 31/15/63 FFFF 0000000000000000";
    static constexpr const char* kFailedRead = "00:00:00 00/00/00 FFFF FFFFFFFFFFFFFFFF";

private:
    std::string record(std::uint16_t number);

    PanelHistoryConfig config_;
};

// Parses a record number of the options and control commands: decimal, 0 to 65535.
std::optional<std::uint16_t> ParseRecordNumber(const std::string& text);

} // namespace devsim
