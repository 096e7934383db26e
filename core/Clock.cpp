#include "core/Clock.h"

#include <chrono>

namespace nvx {

std::uint32_t NowMilliseconds()
{
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::int64_t Clock::nowMs() const
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

Clock& SystemClock()
{
    static Clock clock;
    return clock;
}

}  // namespace nvx
