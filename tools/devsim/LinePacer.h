// Releases the device's output at the rate of the real serial line (19200 bit/s, 11 bits a character) on a
// running schedule, so late wake-ups of the poll loop are caught up instead of adding up. Emulator thread.
#pragma once

#include "SteadyTime.h"

#include <cstddef>
#include <optional>

namespace devsim {

class LinePacer {
public:
    // Time one character takes on the wire: start bit, 8 data bits, 2 stop bits at 19200 bit/s.
    static constexpr std::chrono::nanoseconds kByteTime{11'000'000'000LL / 19200};

    // Without pacing every pending byte may go at once.
    explicit LinePacer(bool paced) : paced_(paced) {}

    // How many of `pending` bytes may be written at `now`.
    std::size_t allowance(TimePoint now, std::size_t pending);
    // Records that `count` bytes were written; `drained` says the output is empty now.
    void sent(std::size_t count, bool drained);
    // When the next byte is due while output is pending; nothing when unpaced or idle.
    std::optional<TimePoint> nextSlot() const;

private:
    TimePoint slotOf(std::size_t index) const { return origin_ + index * kByteTime; }

    bool paced_;
    bool running_ = false; // the schedule has bytes in progress
    TimePoint origin_{};   // slot of the first byte of the running schedule
    std::size_t sentSinceOrigin_ = 0;
};

} // namespace devsim
