#include "PtyEndpoint.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace devsim {

namespace {

[[noreturn]] void ThrowErrno(const char* what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

} // namespace

PtyEndpoint::PtyEndpoint()
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0)
        ThrowErrno("posix_openpt");
    char name[128];
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0 || ::ptsname_r(master_, name, sizeof name) != 0) {
        ::close(master_);
        ThrowErrno("cannot prepare the pseudo-terminal");
    }
    slavePath_ = name;
    // Termios calls on the master act on the slave: the program sees a raw line, no echo, no cooking.
    termios mode{};
    if (::tcgetattr(master_, &mode) != 0) {
        ::close(master_);
        ThrowErrno("tcgetattr");
    }
    ::cfmakeraw(&mode);
    ::cfsetispeed(&mode, B19200);
    ::cfsetospeed(&mode, B19200);
    if (::tcsetattr(master_, TCSANOW, &mode) != 0) {
        ::close(master_);
        ThrowErrno("tcsetattr");
    }
    // Until a slave has been opened once, the master reads as an open, silent port; opening and closing
    // it here makes "no program" read as closed from the start.
    discardUnread();
}

PtyEndpoint::~PtyEndpoint()
{
    ::close(master_);
}

PtyEndpoint::ReadResult PtyEndpoint::read(std::string& bytes)
{
    ReadResult result = ReadResult::Nothing;
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(master_, buffer, sizeof buffer);
        if (count > 0) {
            bytes.append(buffer, static_cast<std::size_t>(count));
            result = ReadResult::Data;
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && errno == EAGAIN)
            return result;
        // EIO (or end of file): the last program holding the slave has closed it.
        return result == ReadResult::Data ? result : ReadResult::Closed;
    }
}

std::size_t PtyEndpoint::write(std::string_view bytes)
{
    for (;;) {
        const ssize_t count = ::write(master_, bytes.data(), bytes.size());
        if (count >= 0)
            return static_cast<std::size_t>(count);
        if (errno != EINTR)
            return 0;
    }
}

void PtyEndpoint::discardUnread()
{
    const int slave = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave < 0)
        return;
    ::tcflush(slave, TCIFLUSH);
    ::close(slave);
}

} // namespace devsim
