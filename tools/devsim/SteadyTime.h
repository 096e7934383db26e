// Time types of the emulator: every delay, schedule and guard time is measured on one monotonic clock.
// Used on the emulator's only thread.
#pragma once

#include <chrono>

namespace devsim {

using SteadyClock = std::chrono::steady_clock;
using TimePoint = SteadyClock::time_point;
using Duration = SteadyClock::duration;
using Milliseconds = std::chrono::milliseconds;

} // namespace devsim
