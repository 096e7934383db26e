#include "LinePacer.h"

#include <algorithm>

namespace devsim {

namespace {
// A schedule further behind than this was stalled (the program stopped reading), not merely woken late;
// it starts afresh instead of bursting out everything it owes.
constexpr Milliseconds kMaxLag{50};
} // namespace

std::size_t LinePacer::allowance(TimePoint now, std::size_t pending)
{
    if (pending == 0)
        return 0;
    if (!paced_)
        return pending;
    const TimePoint nextFree = slotOf(sentSinceOrigin_);
    if (!running_ || now - nextFree > kMaxLag) {
        // A new burst starts no earlier than the end of the last character already on the wire.
        origin_ = running_ ? now : std::max(now, nextFree);
        sentSinceOrigin_ = 0;
        running_ = true;
    }
    if (now < origin_)
        return 0;
    const auto dueCount = static_cast<std::size_t>((now - origin_) / kByteTime) + 1;
    return dueCount > sentSinceOrigin_ ? std::min(dueCount - sentSinceOrigin_, pending) : 0;
}

void LinePacer::sent(std::size_t count, bool drained)
{
    sentSinceOrigin_ += count;
    if (drained)
        running_ = false;
}

std::optional<TimePoint> LinePacer::nextSlot() const
{
    if (!paced_ || !running_)
        return std::nullopt;
    return slotOf(sentSinceOrigin_);
}

} // namespace devsim
