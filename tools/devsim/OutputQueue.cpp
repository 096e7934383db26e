#include "OutputQueue.h"

#include <algorithm>
#include <iterator>

namespace devsim {

void OutputQueue::push(TimePoint notBefore, std::string bytes, bool interruptible)
{
    if (bytes.empty())
        return;
    // Output keeps its order even when the reply delay is shortened at run time.
    if (!chunks_.empty())
        notBefore = std::max(notBefore, chunks_.back().notBefore);
    chunks_.push_back(Chunk{notBefore, std::move(bytes), interruptible, false});
}

void OutputQueue::splice(std::string bytes, TimePoint now, std::mt19937& random)
{
    // Gaps between two bytes of the same interruptible chunk.
    std::size_t gaps = 0;
    for (const Chunk& chunk : chunks_) {
        if (chunk.interruptible && chunk.bytes.size() > 1)
            gaps += chunk.bytes.size() - 1;
    }
    if (gaps == 0) {
        push(now, std::move(bytes), false);
        return;
    }
    std::size_t gap = std::uniform_int_distribution<std::size_t>(0, gaps - 1)(random);
    for (auto chunk = chunks_.begin(); chunk != chunks_.end(); ++chunk) {
        if (!chunk->interruptible || chunk->bytes.size() < 2)
            continue;
        if (gap >= chunk->bytes.size() - 1) {
            gap -= chunk->bytes.size() - 1;
            continue;
        }
        Chunk tail = *chunk;
        tail.bytes.erase(0, gap + 1);
        chunk->bytes.erase(gap + 1);
        Chunk event{chunk->notBefore, std::move(bytes), false, chunk->released};
        const auto at = chunks_.insert(std::next(chunk), std::move(event));
        chunks_.insert(std::next(at), std::move(tail));
        return;
    }
}

std::vector<std::string> OutputQueue::release(TimePoint now)
{
    std::vector<std::string> released;
    for (Chunk& chunk : chunks_) {
        if (chunk.released)
            continue;
        if (chunk.notBefore > now)
            break;
        chunk.released = true;
        released.push_back(chunk.bytes);
    }
    return released;
}

std::size_t OutputQueue::releasedSize() const
{
    std::size_t size = 0;
    for (const Chunk& chunk : chunks_) {
        if (!chunk.released)
            break;
        size += chunk.bytes.size();
    }
    return size;
}

std::string_view OutputQueue::nextReleased() const
{
    if (chunks_.empty() || !chunks_.front().released)
        return {};
    return chunks_.front().bytes;
}

void OutputQueue::consume(std::size_t count)
{
    if (chunks_.empty())
        return;
    chunks_.front().bytes.erase(0, count);
    if (chunks_.front().bytes.empty())
        chunks_.pop_front();
}

std::optional<TimePoint> OutputQueue::nextRelease() const
{
    for (const Chunk& chunk : chunks_) {
        if (!chunk.released)
            return chunk.notBefore;
    }
    return std::nullopt;
}

} // namespace devsim
