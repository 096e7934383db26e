#include "WireLog.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace devsim {

WireLog::WireLog(const std::string& path)
{
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd_ < 0)
        throw std::system_error(errno, std::generic_category(), "cannot open wire log " + path);
}

WireLog::~WireLog()
{
    ::close(fd_);
}

void WireLog::append(std::string_view bytes)
{
    if (!WriteAll(fd_, bytes))
        std::perror("devsim: wire log");
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t count = ::write(fd, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

} // namespace devsim
