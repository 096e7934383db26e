// A test's own end of an emulated device's line: opens the pty slave raw, as the program's serial port
// would, and sends and receives bytes with deadlines. Used on the test's thread.
#pragma once

#include <chrono>
#include <initializer_list>
#include <string>
#include <string_view>

namespace nvx::test {

class PtyPort {
public:
    // Opens `path` raw, 19200 bit/s; throws std::runtime_error on failure.
    explicit PtyPort(const std::string& path);
    ~PtyPort();
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    void send(std::string_view bytes);
    // Reads until `expected` has arrived or `timeout` has passed. Returns everything up to and including
    // `expected` (all that came, when it did not); later bytes stay for the next call.
    std::string receiveUntil(std::string_view expected, std::chrono::milliseconds timeout);
    // As receiveUntil, ending at whichever of `endings` completes first.
    std::string receiveUntilAny(std::initializer_list<std::string_view> endings,
                                std::chrono::milliseconds timeout);
    // Everything that arrives within `duration`, including bytes kept from earlier calls.
    std::string receiveFor(std::chrono::milliseconds duration);
    // Closes the port; the object can no longer be used.
    void close();

private:
    // Reads what is there, waiting at most until `deadline`; false when nothing came by then.
    bool readSome(std::chrono::steady_clock::time_point deadline);

    int fd_ = -1;
    std::string buffer_;
};

} // namespace nvx::test
