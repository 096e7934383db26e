#include "PtyPort.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace nvx::test {

PtyPort::PtyPort(const std::string& path)
{
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0)
        throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
    termios mode{};
    ::tcgetattr(fd_, &mode);
    ::cfmakeraw(&mode);
    ::cfsetispeed(&mode, B19200);
    ::cfsetospeed(&mode, B19200);
    if (::tcsetattr(fd_, TCSANOW, &mode) != 0) {
        ::close(fd_);
        throw std::runtime_error("cannot set " + path + " raw: " + std::strerror(errno));
    }
}

PtyPort::~PtyPort()
{
    close();
}

void PtyPort::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

void PtyPort::send(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t count = ::write(fd_, bytes.data(), bytes.size());
        if (count > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(count));
        } else if (count < 0 && errno == EAGAIN) {
            pollfd writable{fd_, POLLOUT, 0};
            ::poll(&writable, 1, 100);
        } else if (!(count < 0 && errno == EINTR)) {
            throw std::runtime_error(std::string("write to pty: ") + std::strerror(errno));
        }
    }
}

std::string PtyPort::receiveUntil(std::string_view expected, std::chrono::milliseconds timeout)
{
    return receiveUntilAny({expected}, timeout);
}

std::string PtyPort::receiveUntilAny(std::initializer_list<std::string_view> endings,
                                     std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        std::size_t end = std::string::npos;
        for (const std::string_view ending : endings) {
            const auto found = buffer_.find(ending);
            if (found != std::string::npos)
                end = std::min(end, found + ending.size());
        }
        if (end != std::string::npos) {
            std::string head = buffer_.substr(0, end);
            buffer_.erase(0, end);
            return head;
        }
        if (!readSome(deadline))
            return std::exchange(buffer_, {});
    }
}

std::string PtyPort::receiveFor(std::chrono::milliseconds duration)
{
    const auto deadline = std::chrono::steady_clock::now() + duration;
    while (readSome(deadline)) {
    }
    return std::exchange(buffer_, {});
}

bool PtyPort::readSome(std::chrono::steady_clock::time_point deadline)
{
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd readable{fd_, POLLIN, 0};
        if (::poll(&readable, 1, static_cast<int>(left.count())) <= 0)
            continue;
        char chunk[4096];
        const ssize_t count = ::read(fd_, chunk, sizeof chunk);
        if (count > 0) {
            buffer_.append(chunk, static_cast<std::size_t>(count));
            return true;
        }
        if (count < 0 && errno != EAGAIN && errno != EINTR)
            return false;
    }
}

} // namespace nvx::test
