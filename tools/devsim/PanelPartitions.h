// The panel's partition records: "+p" answers all six records, but each is written on its own with
// "+p0=" .. "+p5=", which replaces that record in the "+p" answer. Emulator thread.
#pragma once

#include "CommandSyntax.h"
#include "Device.h"

#include <map>
#include <optional>
#include <string>

namespace devsim {

// Nothing when the command is not a partition write, so that the settings store answers it.
// A record that is not ten characters, or a store without six records, is refused.
std::optional<Reply> HandlePartitionWrite(const Command& command, std::map<std::string, std::string>& store);

} // namespace devsim
