#include "TraceLog.h"

#include "WireLog.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace devsim {

TraceLog::TraceLog(const std::string& path)
{
    if (path.empty())
        return;
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd_ < 0)
        throw std::system_error(errno, std::generic_category(), "cannot open trace " + path);
}

TraceLog::~TraceLog()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::string TraceLog::Printable(std::string_view bytes)
{
    std::string text = "\"";
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        switch (byte) {
        case '\r':
            text += "\\r";
            break;
        case '\n':
            text += "\\n";
            break;
        case '"':
            text += "\\\"";
            break;
        case '\\':
            text += "\\\\";
            break;
        default:
            if (code < 0x20 || code >= 0x7F) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\x%02X", code);
                text += escaped;
            } else {
                text += byte;
            }
        }
    }
    return text + "\"";
}

void TraceLog::line(std::string_view marker, std::string_view text)
{
    if (fd_ < 0)
        return;
    const double seconds = std::chrono::duration<double>(SteadyClock::now() - start_).count();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%10.3f ", seconds);
    std::string entry = stamp;
    entry.append(marker);
    entry.append(text);
    entry += '\n';
    WriteAll(fd_, entry);
}

} // namespace devsim
