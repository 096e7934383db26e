#include "StateFile.h"

#include "WireLog.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace devsim {

bool StateFile::update(const std::map<std::string, std::string>& state)
{
    if (path_.empty() || (everWritten_ && state == written_))
        return true;
    std::string text;
    for (const auto& [name, value] : state)
        text += name + "=" + value + "\n";
    const std::string temporary = path_ + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool written = WriteAll(fd, text);
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), path_.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    written_ = state;
    everWritten_ = true;
    return true;
}

} // namespace devsim
