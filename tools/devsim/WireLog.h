// Appends every byte received from the program, exactly as received, to a file that tests compare with
// what the program should have sent. Written unbuffered so a reader sees each byte at once. Emulator thread.
#pragma once

#include <string>
#include <string_view>

namespace devsim {

class WireLog {
public:
    // Opens (creating, appending) `path`; throws std::system_error on failure.
    explicit WireLog(const std::string& path);
    ~WireLog();
    WireLog(const WireLog&) = delete;
    WireLog& operator=(const WireLog&) = delete;

    void append(std::string_view bytes);

private:
    int fd_ = -1;
};

// Writes all of `bytes` to `fd`, retrying short writes; false on an error.
bool WriteAll(int fd, std::string_view bytes);

} // namespace devsim
