#include "events/HistoryReadCache.h"

#include <algorithm>

namespace nvx {

void HistoryReadCache::BeginRead(InsertMode mode)
{
    std::lock_guard lock(mutex_);
    mode_ = mode;
    endAtStart_ = entries_.size();
}

void HistoryReadCache::Insert(std::uint16_t number, std::string record)
{
    std::lock_guard lock(mutex_);
    // A clear while the read runs leaves fewer entries than there were when it began.
    const std::size_t at = mode_ == InsertMode::Front ? 0 : std::min(endAtStart_, entries_.size());
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at), Entry{number, std::move(record)});
}

std::optional<std::string> HistoryReadCache::Find(std::uint16_t number) const
{
    std::lock_guard lock(mutex_);
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [number](const Entry& e) { return e.number == number; });
    if (found == entries_.end())
        return std::nullopt;
    return found->record;
}

void HistoryReadCache::Clear()
{
    std::lock_guard lock(mutex_);
    entries_.clear();
    endAtStart_ = 0;
}

std::size_t HistoryReadCache::Size() const
{
    std::lock_guard lock(mutex_);
    return entries_.size();
}

std::vector<HistoryReadCache::Entry> HistoryReadCache::Snapshot() const
{
    std::lock_guard lock(mutex_);
    return entries_;
}

} // namespace nvx
