// Actions due at given moments (reply of a dialled modem, SIM-ready notice, escape guard, periodic events),
// run by the emulator's poll loop. Emulator thread only.
#pragma once

#include "SteadyTime.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>

namespace devsim {

class TimerQueue {
public:
    using Id = std::uint64_t;

    // Schedules `action` for `when`; the id cancels it.
    Id at(TimePoint when, std::function<void()> action);
    // Forgets a scheduled action; unknown or already run ids are ignored.
    void cancel(Id id);
    // The moment of the earliest scheduled action, if any.
    std::optional<TimePoint> next() const;
    // Runs every action due at `now` in time order, including those that due actions schedule for `now`.
    void runDue(TimePoint now);

private:
    using Key = std::pair<TimePoint, Id>;
    std::map<Key, std::function<void()>> actions_;
    std::map<Id, TimePoint> whenById_;
    Id lastId_ = 0;
};

} // namespace devsim
