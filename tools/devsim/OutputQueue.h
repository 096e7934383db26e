// What the emulator has to send, in order: chunks held back by the reply delay, then released ones waiting
// for the line; an event can be spliced in between two bytes of an answer. Emulator thread.
#pragma once

#include "SteadyTime.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace devsim {

class OutputQueue {
public:
    // Queues `bytes` for release at `notBefore`, but never before what is already queued. A chunk that
    // is not `interruptible` is never split by splice().
    void push(TimePoint notBefore, std::string bytes, bool interruptible = true);
    // Puts `bytes`, whole, between two pending bytes of an interruptible chunk chosen at random, as an
    // unsolicited line that cuts into an answer; queues it at the end when no answer is pending.
    void splice(std::string bytes, TimePoint now, std::mt19937& random);

    // Releases the chunks due at `now` and returns their bytes, in order.
    std::vector<std::string> release(TimePoint now);
    // How many released bytes wait for the line.
    std::size_t releasedSize() const;
    // The released bytes that go next (one chunk's worth; empty when none is released).
    std::string_view nextReleased() const;
    // Removes `count` bytes (at most nextReleased().size()) that went out.
    void consume(std::size_t count);

    // When the next held chunk is due.
    std::optional<TimePoint> nextRelease() const;
    void clear() { chunks_.clear(); }

private:
    struct Chunk {
        TimePoint notBefore;
        std::string bytes;
        bool interruptible;
        bool released;
    };

    std::deque<Chunk> chunks_; // released chunks first, then held ones
};

} // namespace devsim
