#include "TimerQueue.h"

namespace devsim {

TimerQueue::Id TimerQueue::at(TimePoint when, std::function<void()> action)
{
    const Id id = ++lastId_;
    actions_.emplace(Key{when, id}, std::move(action));
    whenById_.emplace(id, when);
    return id;
}

void TimerQueue::cancel(Id id)
{
    const auto found = whenById_.find(id);
    if (found == whenById_.end())
        return;
    actions_.erase(Key{found->second, id});
    whenById_.erase(found);
}

std::optional<TimePoint> TimerQueue::next() const
{
    if (actions_.empty())
        return std::nullopt;
    return actions_.begin()->first.first;
}

void TimerQueue::runDue(TimePoint now)
{
    while (!actions_.empty() && actions_.begin()->first.first <= now) {
        auto first = actions_.begin();
        auto action = std::move(first->second);
        whenById_.erase(first->first.second);
        actions_.erase(first);
        action();
    }
}

} // namespace devsim
