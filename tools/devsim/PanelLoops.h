// The panel's wired loop parameters: "+wz" answers the loop type and both loops with their
// measured inputs, but "+wz=" sends them without the inputs, which stay what the panel measures.
// Emulator thread.
#pragma once

#include "CommandSyntax.h"
#include "Device.h"

#include <map>
#include <optional>
#include <string>

namespace devsim {

// Nothing when the command is not a loop parameter write, so that the settings store answers it.
// A write that is not eleven characters, or a store without the thirteen of "wz", is refused.
std::optional<Reply> HandleLoopWrite(const Command& command, std::map<std::string, std::string>& store);

} // namespace devsim
