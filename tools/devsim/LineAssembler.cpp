#include "LineAssembler.h"

namespace devsim {

std::vector<std::string> LineAssembler::feed(std::string_view bytes)
{
    std::vector<std::string> lines;
    for (const char byte : bytes) {
        if (byte == '\r' || byte == '\n') {
            if (!partial_.empty())
                lines.push_back(std::move(partial_));
            partial_.clear();
        } else if (partial_.size() < kMaxLine) {
            partial_ += byte;
        }
    }
    return lines;
}

} // namespace devsim
