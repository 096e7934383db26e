// A human-readable account of the traffic in both directions and of what the emulator did, with times in
// seconds since start, for a person chasing a failing test. Emulator thread.
#pragma once

#include "SteadyTime.h"

#include <string>
#include <string_view>

namespace devsim {

class TraceLog {
public:
    // Without a path nothing is written.
    explicit TraceLog(const std::string& path);
    ~TraceLog();
    TraceLog(const TraceLog&) = delete;
    TraceLog& operator=(const TraceLog&) = delete;

    void received(std::string_view bytes) { line("<- ", Printable(bytes)); }
    void sent(std::string_view bytes) { line("-> ", Printable(bytes)); }
    void note(std::string_view text) { line("** ", text); }

    // The bytes in quotes, control characters and non-ASCII as C escapes.
    static std::string Printable(std::string_view bytes);

private:
    void line(std::string_view marker, std::string_view text);

    int fd_ = -1;
    TimePoint start_ = SteadyClock::now();
};

} // namespace devsim
