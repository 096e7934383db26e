// Every history record accepted during a connection, by record number, newest first as long as the
// pages read join up. The link thread fills it while it reads; the interface thread clears it and the
// export of all records read takes a copy. Any thread: one lock guards it.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace nvx {

class HistoryReadCache {
public:
    struct Entry {
        std::uint16_t number;
        std::string record;
    };

    // Where the records of the read that starts now go: each to the front (a newer page), or all at the
    // place the end had when the read began (an older page), so the whole stays newest first.
    enum class InsertMode { Front, End };

    void BeginRead(InsertMode mode);
    void Insert(std::uint16_t number, std::string record);
    std::optional<std::string> Find(std::uint16_t number) const;
    void Clear();
    std::size_t Size() const;
    std::vector<Entry> Snapshot() const;

private:
    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
    InsertMode mode_ = InsertMode::Front;
    std::size_t endAtStart_ = 0;
};

} // namespace nvx
