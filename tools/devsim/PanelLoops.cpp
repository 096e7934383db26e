#include "PanelLoops.h"

namespace devsim {

namespace {

constexpr std::size_t kWrittenLength = 11; // type, then per loop: normal, partition, zone, delay (2)
constexpr std::size_t kStoredLength = 13;  // the same with each loop's measured input before it
constexpr std::size_t kLoopWritten = 5;

} // namespace

std::optional<Reply> HandleLoopWrite(const Command& command, std::map<std::string, std::string>& store)
{
    if (command.name != "wz" || !command.value)
        return std::nullopt;
    const std::string& written = *command.value;
    const auto stored = store.find("wz");
    if (written.size() != kWrittenLength || stored == store.end() || stored->second.size() != kStoredLength)
        return Reply::err();
    const std::string& before = stored->second;
    stored->second = written.substr(0, 1) + before[1] + written.substr(1, kLoopWritten) + before[7] +
                     written.substr(1 + kLoopWritten, kLoopWritten);
    return Reply::ok();
}

} // namespace devsim
