// Synchronous calls onto the interface thread: a worker hands over a step and waits for it,
// but gives up while the step has not started once its cancel test says so (a stop request),
// so the worker never hangs on an interface thread that waits for the worker.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace nvx {

class InterfaceCalls {
public:
    // Interface thread: marks the calling thread as the one that runs the calls.
    void BindToCurrentThread() { owner_ = std::this_thread::get_id(); }

    // Any thread: runs `step` on the interface thread and waits for it. Runs it at once when
    // called on the interface thread. Returns false when cancelled before the step started.
    bool Call(std::function<void()> step, const std::function<bool()>& cancelled);

    // Interface thread: runs the steps handed over so far.
    void RunPending();

    // Called when a step is handed over, so the interface thread can run it promptly.
    void SetWakeUp(std::function<void()> wakeUp);

private:
    struct Task {
        std::function<void()> step;
        bool started = false;
        bool done = false;
    };

    std::mutex mutex_;
    std::condition_variable finished_;
    std::deque<std::shared_ptr<Task>> tasks_;
    std::function<void()> wakeUp_;
    std::thread::id owner_ = std::this_thread::get_id();
};

}  // namespace nvx
