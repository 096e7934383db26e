// Where the program keeps current.ini, windows.ini and RelayTemplates on this desktop.
// Called on the interface thread at start-up; reads the environment.
#pragma once

#include <filesystem>
#include <string>

namespace nvx {

// The name of the settings file that marks a program folder as holding the settings (portable use).
inline constexpr const char* kCurrentSettingsFile = "current.ini";

// In order: $NVX_CONFIG_DIR when set and not empty (tests, demonstrations), taken as it is; the program
// folder when it already holds current.ini and the program may create files there; otherwise
// $XDG_CONFIG_HOME/<programName> ($HOME/.config/<programName> when XDG_CONFIG_HOME is unset or not an
// absolute path). A folder that does not exist is created; when that fails the folder is still returned
// and the first save into it reports why.
std::filesystem::path SettingsFolder(const std::filesystem::path& programFolder,
                                     const std::string& programName);

}  // namespace nvx
