// Cuts the byte stream from the program into command lines: CR ends a line, a lone LF is accepted too, and
// the empty line between CR and LF is no command. Emulator thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace devsim {

class LineAssembler {
public:
    // Longest line kept; the rest of a longer line is dropped so a runaway sender cannot grow memory.
    static constexpr std::size_t kMaxLine = 4096;

    // Appends `bytes` and returns the lines they complete, without their ends.
    std::vector<std::string> feed(std::string_view bytes);
    void reset() { partial_.clear(); }

private:
    std::string partial_;
};

} // namespace devsim
