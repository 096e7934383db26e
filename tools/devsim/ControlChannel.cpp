#include "ControlChannel.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace devsim {

namespace {

[[noreturn]] void ThrowErrno(const std::string& what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

} // namespace

ControlChannel::ControlChannel(std::string path) : path_(std::move(path))
{
    if (::mkfifo(path_.c_str(), 0600) == 0)
        created_ = true;
    else if (errno != EEXIST)
        ThrowErrno("cannot create control FIFO " + path_);
    struct stat info {};
    if (::stat(path_.c_str(), &info) != 0 || !S_ISFIFO(info.st_mode))
        ThrowErrno("control path is not a FIFO: " + path_);
    readFd_ = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (readFd_ < 0)
        ThrowErrno("cannot open control FIFO " + path_);
    keepOpenFd_ = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (keepOpenFd_ < 0) {
        ::close(readFd_);
        ThrowErrno("cannot open control FIFO " + path_);
    }
}

ControlChannel::~ControlChannel()
{
    ::close(keepOpenFd_);
    ::close(readFd_);
    if (created_)
        ::unlink(path_.c_str());
}

std::vector<std::string> ControlChannel::readLines()
{
    char buffer[4096];
    ssize_t count;
    while ((count = ::read(readFd_, buffer, sizeof buffer)) > 0)
        partial_.append(buffer, static_cast<std::size_t>(count));
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = partial_.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = partial_.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.push_back(std::move(line));
    }
    partial_.erase(0, start);
    return lines;
}

} // namespace devsim
