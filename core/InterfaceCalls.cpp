#include "core/InterfaceCalls.h"

#include <algorithm>
#include <chrono>

namespace nvx {

bool InterfaceCalls::Call(std::function<void()> step, const std::function<bool()>& cancelled)
{
    if (std::this_thread::get_id() == owner_) {
        step();
        return true;
    }
    auto task = std::make_shared<Task>();
    task->step = std::move(step);
    std::function<void()> wakeUp;
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(task);
        wakeUp = wakeUp_;
    }
    if (wakeUp)
        wakeUp();
    std::unique_lock lock(mutex_);
    while (!task->done) {
        if (!task->started && cancelled && cancelled()) {
            tasks_.erase(std::remove(tasks_.begin(), tasks_.end(), task), tasks_.end());
            return false;
        }
        finished_.wait_for(lock, std::chrono::milliseconds(10));
    }
    return true;
}

void InterfaceCalls::RunPending()
{
    for (;;) {
        std::shared_ptr<Task> task;
        {
            std::lock_guard lock(mutex_);
            if (tasks_.empty())
                return;
            task = tasks_.front();
            tasks_.pop_front();
            task->started = true;
        }
        try {
            task->step();
        } catch (...) {
            // The caller only waits for the step; an interface failure must not strand it.
        }
        {
            std::lock_guard lock(mutex_);
            task->done = true;
        }
        finished_.notify_all();
    }
}

void InterfaceCalls::SetWakeUp(std::function<void()> wakeUp)
{
    std::lock_guard lock(mutex_);
    wakeUp_ = std::move(wakeUp);
}

}  // namespace nvx
