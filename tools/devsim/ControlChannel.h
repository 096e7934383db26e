// The FIFO through which tests and users change the emulator at run time, one command a line ("drop",
// "reject +v", ...). Emulator thread.
#pragma once

#include <string>
#include <vector>

namespace devsim {

class ControlChannel {
public:
    // Opens the FIFO at `path`, creating it when missing; throws std::system_error on failure.
    explicit ControlChannel(std::string path);
    ~ControlChannel();
    ControlChannel(const ControlChannel&) = delete;
    ControlChannel& operator=(const ControlChannel&) = delete;

    int fd() const { return readFd_; }
    // The complete lines written since the last call, without their ends.
    std::vector<std::string> readLines();

private:
    std::string path_;
    bool created_ = false; // removed again on exit when we made it
    int readFd_ = -1;
    int keepOpenFd_ = -1; // our own writer: without one the FIFO reports end of file between writers
    std::string partial_;
};

} // namespace devsim
