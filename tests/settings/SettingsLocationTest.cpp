#include "core/SettingsLocation.h"

#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

namespace nvx {
namespace {

namespace fs = std::filesystem;
using test::ScopedEnv;
using test::TempFolder;

TEST(SettingsFolder, ChoosesByOverrideThenPortableFolderThenXdg)
{
    enum class Xdg { InTestFolder, Unset, Relative };
    const struct {
        const char* name;
        bool overridden;
        bool programHoldsSettings;
        Xdg xdg;
        const char* expected;  // under the test folder
    } cases[] = {
        {"override wins over a portable folder", true, true, Xdg::InTestFolder, "o/p"},
        {"portable folder", false, true, Xdg::InTestFolder, "bin"},
        {"no current.ini beside the program", false, false, Xdg::InTestFolder, "xdg/nvx-config"},
        {"XDG_CONFIG_HOME unset", false, false, Xdg::Unset, "home/.config/nvx-config"},
        {"XDG_CONFIG_HOME relative", false, false, Xdg::Relative, "home/.config/nvx-config"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder root;
        const fs::path program = root / "bin";
        fs::create_directory(program);
        if (c.programHoldsSettings)
            test::WriteBytes(program / "current.ini", "");

        ScopedEnv override("NVX_CONFIG_DIR",
                           c.overridden ? std::optional((root / "o/p").string()) : std::nullopt);
        ScopedEnv xdg("XDG_CONFIG_HOME", c.xdg == Xdg::InTestFolder ? std::optional((root / "xdg").string())
                                         : c.xdg == Xdg::Relative ? std::optional<std::string>("relative/xdg")
                                                                  : std::nullopt);
        ScopedEnv home("HOME", (root / "home").string());

        EXPECT_EQ(SettingsFolder(program, "nvx-config"), root / c.expected);
        EXPECT_TRUE(fs::is_directory(root / c.expected));
    }
}

TEST(SettingsFolder, ReadOnlyProgramFolderIsNotUsedEvenWithCurrentIni)
{
    TempFolder root;
    const fs::path program = root / "bin";
    fs::create_directory(program);
    test::WriteBytes(program / "current.ini", "");
    fs::permissions(program, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                 fs::perms::others_exec);
    ScopedEnv override("NVX_CONFIG_DIR", std::nullopt);
    ScopedEnv xdg("XDG_CONFIG_HOME", (root / "xdg").string());

    const auto outcome = test::RunUnprivileged(
        [&] { return SettingsFolder(program, "nvx-config") == root / "xdg" / "nvx-config" ? 0 : 1; });
    if (!outcome)
        GTEST_SKIP() << "cannot drop root privileges here";
    EXPECT_EQ(*outcome, 0);
    EXPECT_TRUE(fs::is_directory(root / "xdg" / "nvx-config"));
}

}  // namespace
}  // namespace nvx
