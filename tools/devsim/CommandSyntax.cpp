#include "CommandSyntax.h"

#include <algorithm>
#include <cctype>

namespace devsim {

std::optional<Command> ParseCommand(std::string_view line)
{
    if (line.size() < 2 || line.front() != '+')
        return std::nullopt;
    line.remove_prefix(1);
    const auto equals = line.find('=');
    Command command{std::string(line.substr(0, equals)), std::nullopt};
    if (command.name.empty())
        return std::nullopt;
    if (equals != std::string_view::npos)
        command.value = std::string(line.substr(equals + 1));
    return command;
}

bool IsHexOfWidth(std::string_view text, std::size_t digits)
{
    return text.size() == digits &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isxdigit(c) != 0; });
}

} // namespace devsim
