// The device's end of the cable: the master of a pseudo-terminal whose slave the program opens as its serial
// port; tells whether a program has the port open. Emulator thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace devsim {

class PtyEndpoint {
public:
    enum class ReadResult { Data, Nothing, Closed };

    // Opens the master in raw mode and leaves the slave closed; throws std::system_error on failure.
    PtyEndpoint();
    ~PtyEndpoint();
    PtyEndpoint(const PtyEndpoint&) = delete;
    PtyEndpoint& operator=(const PtyEndpoint&) = delete;

    int fd() const { return master_; }
    const std::string& slavePath() const { return slavePath_; }

    // Appends what the program has sent to `bytes`. Closed: no program has the port open.
    ReadResult read(std::string& bytes);
    // Writes as much of `bytes` as the line takes now; returns the count, or nothing written when closed.
    std::size_t write(std::string_view bytes);
    // Throws away what was sent to the program but not read by it: a closed port receives nothing.
    void discardUnread();

private:
    int master_ = -1;
    std::string slavePath_;
};

} // namespace devsim
