// Unsolicited event lines of a panel: "Get:" + payload, CR LF, then the signal level line. Payloads carry
// a running sequence number so a receiver can check each event arrives exactly once. Emulator thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <random>
#include <string>

namespace devsim {

enum class EventForm {
    Record, // a 39-character history record; the zone of its alarm message is the sequence number mod 1000
    Device, // a 7-character radio sensor report; its two leading digits are the sequence number mod 256
};

class EventSource {
public:
    EventSource(EventForm form, std::uint32_t seed) : form_(form), random_(seed) {}

    // The next generated event: both lines, ready for the wire.
    std::string next(std::chrono::system_clock::time_point now);

    // One event as it appears on the line; no signal line when `signal` is empty.
    static std::string EventLines(const std::string& payload, const std::string& signal);

private:
    EventForm form_;
    std::mt19937 random_;
    std::uint64_t sequence_ = 0;
};

} // namespace devsim
