#include "core/SettingsLocation.h"

#include <cstdlib>
#include <system_error>

#include <pwd.h>
#include <unistd.h>

namespace nvx {

namespace fs = std::filesystem;

namespace {

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

fs::path HomeFolder()
{
    if (std::string home = Environment("HOME"); !home.empty())
        return home;
    const passwd* user = ::getpwuid(::getuid());
    return user != nullptr && user->pw_dir != nullptr ? fs::path(user->pw_dir) : fs::path();
}

fs::path Created(fs::path folder)
{
    std::error_code ignored;  // reported by the first save into the folder
    fs::create_directories(folder, ignored);
    return folder;
}

// A settings save writes a temporary file beside current.ini and renames it, so the folder itself,
// not only the file, must accept changes.
bool HoldsWritableSettings(const fs::path& folder)
{
    std::error_code ec;
    return fs::is_regular_file(folder / kCurrentSettingsFile, ec) &&
           ::access(folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace

fs::path SettingsFolder(const fs::path& programFolder, const std::string& programName)
{
    if (std::string overridden = Environment("NVX_CONFIG_DIR"); !overridden.empty())
        return Created(overridden);
    if (HoldsWritableSettings(programFolder))
        return programFolder;
    fs::path base = Environment("XDG_CONFIG_HOME");
    if (!base.is_absolute())
        base = HomeFolder() / ".config";
    return Created(base / programName);
}

}  // namespace nvx
