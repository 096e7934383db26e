// Cuts the panel's unsolicited "Get:" event lines out of the received text stream. Only
// complete lines are cut: an event line whose end, or whose signal line, has not arrived
// yet is held back and completed by the next read. Used by the link thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace nvx {

struct EventLine {
    std::string payload;  // the text after "Get:" (at most 255 characters)
    std::string signal;   // the signal line that followed, "0" when there was none
};

class EventLineFilter {
public:
    // How long a held fragment may wait for the rest of its line before it is handed on.
    static constexpr std::int64_t kHoldLimitMs = 1000;

    // Takes newly received text (possibly empty, to let held fragments age) and returns the
    // text that belongs to command answers; completed events are appended to `events`.
    std::string Feed(const std::string& received, std::int64_t nowMs, std::vector<EventLine>& events);

    bool Holding() const { return !held_.empty(); }

private:
    std::string held_;
    std::int64_t heldSince_ = 0;
};

// True for the line that carries an event's signal value: "-" alone or a negative number,
// possibly with a ":" part ("-95:3").
bool IsSignalLine(const std::string& line);

}  // namespace nvx
