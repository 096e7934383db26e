#include "FakeLine.h"

#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace nvx::test {

FakeLine::FakeLine()
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
        throw std::runtime_error("no pseudo-terminal");
    slavePath_ = ptsname(master_);
    termios t{};
    tcgetattr(master_, &t);
    cfmakeraw(&t);
    tcsetattr(master_, TCSANOW, &t);
}

FakeLine::~FakeLine()
{
    if (master_ >= 0)
        ::close(master_);
}

void FakeLine::send(const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else
            usleep(1000);
    }
}

std::string FakeLine::receiveFor(std::chrono::milliseconds duration)
{
    std::string got;
    auto deadline = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{master_, POLLIN, 0};
        if (poll(&p, 1, 10) > 0 && (p.revents & POLLIN)) {
            char buf[256];
            ssize_t n = ::read(master_, buf, sizeof buf);
            if (n > 0)
                got.append(buf, static_cast<std::size_t>(n));
        }
    }
    return got;
}

}  // namespace nvx::test
