// The values a factory-fresh panel answers to its queries, by mnemonic. Page work adds its commands here.
// Emulator thread.
#pragma once

#include <map>
#include <string>

namespace devsim {

// Mnemonic (without "+") → value the panel answers before anything was written.
const std::map<std::string, std::string>& PanelDefaults();

} // namespace devsim
