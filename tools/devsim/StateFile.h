// The file that shows what the device holds, as name=value lines, replaced as a whole after every change
// so a reader never sees half of it. Emulator thread.
#pragma once

#include <map>
#include <string>
#include <utility>

namespace devsim {

class StateFile {
public:
    // Without a path nothing is written.
    explicit StateFile(std::string path) : path_(std::move(path)) {}

    // Rewrites the file when `state` differs from what it holds; false when the write failed.
    bool update(const std::map<std::string, std::string>& state);

private:
    std::string path_;
    std::map<std::string, std::string> written_;
    bool everWritten_ = false;
};

} // namespace devsim
