// The shape of a device command: "+" and a mnemonic, optionally "=" and a value. Emulator thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace devsim {

struct Command {
    std::string name;                 // the mnemonic, without "+"
    std::optional<std::string> value; // present for a write ("+name=value"), possibly empty
};

// Splits a line into mnemonic and value; nothing when it is not "+" and a non-empty mnemonic.
std::optional<Command> ParseCommand(std::string_view line);

// True when `text` is exactly `digits` hexadecimal digits (either case).
bool IsHexOfWidth(std::string_view text, std::size_t digits);

} // namespace devsim
