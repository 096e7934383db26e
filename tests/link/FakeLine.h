// The far end of a pseudo-terminal that a test plays by hand: the link opens the slave as its
// serial port, the test reads and writes the master. Used on the test's thread.
#pragma once

#include <chrono>
#include <string>

namespace nvx::test {

class FakeLine {
public:
    FakeLine();
    ~FakeLine();
    FakeLine(const FakeLine&) = delete;
    FakeLine& operator=(const FakeLine&) = delete;

    const std::string& slavePath() const { return slavePath_; }
    void send(const std::string& bytes);
    // Everything the program wrote within `duration`.
    std::string receiveFor(std::chrono::milliseconds duration);

private:
    int master_ = -1;
    std::string slavePath_;
};

}  // namespace nvx::test
