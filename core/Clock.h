// Millisecond clocks for every time-out of the link, and an injectable wall clock
// so that time-driven behaviour (keep-alive) is testable. Any thread.
#pragma once

#include <atomic>
#include <cstdint>

namespace nvx {

// Monotonic milliseconds, wrapping at 2^32; compare readings by unsigned difference.
std::uint32_t NowMilliseconds();

// Elapsed milliseconds between two NowMilliseconds readings, correct across the wrap.
inline std::uint32_t ElapsedSince(std::uint32_t start) { return NowMilliseconds() - start; }

// Milliseconds on a clock that tests can move forward by hand.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t nowMs() const;
};

// The clock of the running program: monotonic milliseconds since an arbitrary start.
Clock& SystemClock();

// A clock for tests: the system clock plus an offset moved by advance().
class ManualClock : public Clock {
public:
    std::int64_t nowMs() const override { return Clock::nowMs() + offset_.load(); }
    void advance(std::int64_t ms) { offset_ += ms; }

private:
    std::atomic<std::int64_t> offset_{0};
};

}  // namespace nvx
