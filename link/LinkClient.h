// What the link thread drives in each pass of its loop: the jobs of the device object and the
// two flags it shares with it. The device layer implements it. Link thread, flags any thread.
#pragma once

#include <atomic>
#include <cstdint>

namespace nvx {

class TLinkClient {
public:
    virtual ~TLinkClient() = default;

    // Runs the operation of a job code; called every pass of the link thread's loop.
    virtual void RunJob(std::uint8_t code) = 0;

    // Set by a broken line, a modem error or the user's stop; multi-step work tests it.
    std::atomic<bool> abortState{false};
    // Set when the connect job has reported the connection established; cleared when it starts.
    std::atomic<bool> connectionEstablished{false};
};

}  // namespace nvx
