#include "core/IniFile.h"

#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace nvx {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

std::string Lines(const std::vector<std::string>& lines, const std::string& newline)
{
    std::string text;
    for (const auto& line : lines)
        text += line + newline;
    return text;
}

std::set<std::string> FolderListing(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

IniFile Loaded(const fs::path& path)
{
    IniFile ini(path);
    EXPECT_TRUE(ini.Load().ok);
    return ini;
}

class IniFileLineEnds : public testing::TestWithParam<std::string> {};

// What a user wrote by hand stays where it was; the program's changes go in place or after the last key.
TEST_P(IniFileLineEnds, ChangesKeepHandMadeContentInPlace)
{
    const std::string nl = GetParam();
    TempFolder folder;
    const fs::path path = folder / "current.ini";
    WriteBytes(path, Lines({"; \xcd\xe0\xf1\xf2\xf0\xee\xe9\xea\xe8",  // "Настройки" in CP1251
                            "[Connect]",
                            "rb1=1",
                            "; the port of the bench",
                            "ComPort = ttyUSB0",
                            "a line without a key",
                            "",
                            "[formCommon]",
                            "showOuts=1",
                            "",
                            "; added by hand",
                            "[Update]",
                            "UpdatePanelVersion=zobqex",
                            "[connect]",
                            "Phone1=123",
                            "; the end"},
                           nl));

    IniFile ini = Loaded(path);
    ini.WriteBool("CONNECT", "RB1", false);
    ini.WriteString("Connect", "ComPort", "ttyS1");
    ini.WriteString("Connect", "Phone1", "555");
    ini.WriteString("formCommon", "etName", "Sklad");
    ini.WriteInteger("Form6", "cbMode", 2);
    ASSERT_TRUE(ini.Save().ok);

    EXPECT_EQ(ReadBytes(path), Lines({"; \xcd\xe0\xf1\xf2\xf0\xee\xe9\xea\xe8",
                                      "[Connect]",
                                      "rb1=0",
                                      "; the port of the bench",
                                      "ComPort = ttyS1",
                                      "a line without a key",
                                      "",
                                      "[formCommon]",
                                      "showOuts=1",
                                      "etName=Sklad",
                                      "",
                                      "; added by hand",
                                      "[Update]",
                                      "UpdatePanelVersion=zobqex",
                                      "[connect]",
                                      "Phone1=555",
                                      "; the end",
                                      "",
                                      "[Form6]",
                                      "cbMode=2"},
                                     nl));
}

INSTANTIATE_TEST_SUITE_P(CrLfAndLf, IniFileLineEnds, testing::Values("\r\n", "\n"));

TEST(IniFile, UnchangedFileIsWrittenBackAsItWas)
{
    const struct {
        const char* name;
        std::string onDisk;
        std::string saved;
    } cases[] = {
        {"crlf", "[A]\r\nk=v\r\n\r\n; c\r\n", "[A]\r\nk=v\r\n\r\n; c\r\n"},
        {"lf", "[A]\nk=v\n", "[A]\nk=v\n"},
        {"no final line end", "[A]\r\nk=v", "[A]\r\nk=v\r\n"},
        {"undefined CP1251 byte in a comment", "; \x98\r\n[A]\r\n", "; \x98\r\n[A]\r\n"},
        {"empty", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        WriteBytes(folder / "p.ini", c.onDisk);
        ASSERT_TRUE(Loaded(folder / "p.ini").Save().ok);
        EXPECT_EQ(ReadBytes(folder / "p.ini"), c.saved);
    }
}

TEST(IniFile, CyrillicIsCp1251OnDiskAndUtf8InMemory)
{
    TempFolder folder;
    const fs::path path = folder / "current.ini";
    {
        IniFile ini(path);
        ini.WriteString("formRadio", "btnAdd1", "Удалить");
        ini.WriteString("Раздел", "Имя", "Ёлка");
        ASSERT_TRUE(ini.Save().ok);
    }
    EXPECT_EQ(ReadBytes(path), "[formRadio]\r\n"
                               "btnAdd1=\xd3\xe4\xe0\xeb\xe8\xf2\xfc\r\n"
                               "\r\n"
                               "[\xd0\xe0\xe7\xe4\xe5\xeb]\r\n"
                               "\xc8\xec\xff=\xa8\xeb\xea\xe0\r\n");

    const IniFile ini = Loaded(path);
    EXPECT_EQ(ini.ReadString("FORMRADIO", "BTNADD1", ""), "Удалить");
    EXPECT_EQ(ini.ReadString("раздел", "ИМЯ", ""), "Ёлка");
    EXPECT_TRUE(ini.SectionExists("РАЗДЕЛ"));
}

TEST(IniFile, TypedReadsFallBackToTheDefault)
{
    const struct {
        const char* stored;  // nullptr: no key
        int integer;         // read with default -1
        bool boolean;        // read with default true
    } cases[] = {
        {nullptr, -1, true}, {"", -1, true},   {"12", 12, true},  {"  7 ", 7, true}, {"-3", -3, true},
        {"0", 0, false},     {"x1", -1, true}, {"1x", -1, true},  {"99999999999", -1, true},
        {"true", -1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "(missing)");
        TempFolder folder;
        WriteBytes(folder / "p.ini", c.stored ? std::string("[S]\nk=") + c.stored + "\n" : "[S]\n");
        const IniFile ini = Loaded(folder / "p.ini");
        EXPECT_EQ(ini.ReadInteger("S", "k", -1), c.integer);
        EXPECT_EQ(ini.ReadBool("S", "k", true), c.boolean);
        EXPECT_EQ(ini.ValueExists("S", "k"), c.stored != nullptr);
    }
}

TEST(IniFile, ValueWithLineBreaksCannotAddKeysOrSections)
{
    TempFolder folder;
    const fs::path path = folder / "current.ini";
    {
        IniFile ini(path);
        ini.WriteString("Connect", "Phone", "123\r\n[Update]\nUpdatePanelVersion=zobqex");
        ASSERT_TRUE(ini.Save().ok);
    }
    const IniFile ini = Loaded(path);
    EXPECT_FALSE(ini.SectionExists("Update"));
    EXPECT_EQ(ini.ReadString("Connect", "Phone", ""), "123  [Update] UpdatePanelVersion=zobqex");
}

TEST(IniFile, EraseSectionRemovesEveryPartOfIt)
{
    TempFolder folder;
    WriteBytes(folder / "p.ini", "[A]\nx=1\n[B]\ny=2\n[a]\nz=3\n");
    IniFile ini = Loaded(folder / "p.ini");
    ini.EraseSection("A");
    EXPECT_FALSE(ini.SectionExists("a"));
    EXPECT_FALSE(ini.ValueExists("A", "z"));
    ASSERT_TRUE(ini.Save().ok);
    EXPECT_EQ(ReadBytes(folder / "p.ini"), "[B]\ny=2\n");
}

TEST(IniFileLoad, MissingFileIsEmpty)
{
    TempFolder folder;
    IniFile ini(folder / "current.ini");
    EXPECT_TRUE(ini.Load().ok);
    EXPECT_FALSE(ini.SectionExists("Connect"));
    EXPECT_EQ(ini.ReadString("Connect", "MasterKey", "1234"), "1234");
}

TEST(IniFileLoad, UnreadableFileIsReportedAndNeverOverwritten)
{
    TempFolder folder;
    const fs::path path = folder / "current.ini";
    WriteBytes(path, "[Connect]\nPhone1=555\n");
    fs::permissions(path, fs::perms::none);

    const auto outcome = test::RunUnprivileged([&] {
        IniFile ini(path);
        const IniFile::Result loaded = ini.Load();
        if (loaded.ok || loaded.error.find("current.ini") == std::string::npos)
            return 1;
        ini.WriteString("Connect", "Phone1", "");
        const IniFile::Result saved = ini.Save();
        return saved.ok || saved.error.empty() ? 2 : 0;
    });
    if (!outcome)
        GTEST_SKIP() << "cannot drop root privileges here";
    EXPECT_EQ(*outcome, 0);
    fs::permissions(path, fs::perms::owner_read);
    EXPECT_EQ(ReadBytes(path), "[Connect]\nPhone1=555\n");
}

TEST(IniFileSave, ReplacesTheFileWholeAndLeavesNothingElse)
{
    TempFolder folder;
    const fs::path path = folder / "current.ini";
    WriteBytes(path, "[Connect]\nrb1=1\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    IniFile ini = Loaded(path);
    ini.WriteBool("Connect", "rb1", false);
    ASSERT_TRUE(ini.Save().ok);

    EXPECT_EQ(ReadBytes(path), "[Connect]\nrb1=0\n");
    EXPECT_EQ(FolderListing(folder.path()), std::set<std::string>{"current.ini"});
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(IniFileSave, ThroughASymbolicLinkReplacesTheLinkedFile)
{
    TempFolder folder;
    fs::create_directory(folder / "real");
    WriteBytes(folder / "real" / "current.ini", "[A]\nk=1\n");
    fs::create_symlink(folder / "real" / "current.ini", folder / "current.ini");

    IniFile ini = Loaded(folder / "current.ini");
    ini.WriteInteger("A", "k", 2);
    ASSERT_TRUE(ini.Save().ok);

    EXPECT_TRUE(fs::is_symlink(folder / "current.ini"));
    EXPECT_EQ(ReadBytes(folder / "real" / "current.ini"), "[A]\nk=2\n");
}

TEST(IniFileSave, FailureIsReportedAndKeepsTheOldFile)
{
    TempFolder folder;
    const fs::path readOnly = folder / "ro";
    fs::create_directory(readOnly);
    WriteBytes(readOnly / "current.ini", "[Connect]\nrb1=1\n");
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                  fs::perms::others_exec);

    const auto outcome = test::RunUnprivileged([&] {
        IniFile ini(readOnly / "current.ini");
        if (!ini.Load().ok)
            return 1;
        ini.WriteBool("Connect", "rb1", false);
        const IniFile::Result saved = ini.Save();
        return saved.ok ? 2 : saved.error.find("current.ini") == std::string::npos ? 3 : 0;
    });
    if (!outcome)
        GTEST_SKIP() << "cannot drop root privileges here";
    EXPECT_EQ(*outcome, 0);
    EXPECT_EQ(ReadBytes(readOnly / "current.ini"), "[Connect]\nrb1=1\n");
    EXPECT_EQ(FolderListing(readOnly), std::set<std::string>{"current.ini"});
}

TEST(IniFileSave, IntoAMissingFolderFails)
{
    TempFolder folder;
    IniFile ini(folder / "absent" / "current.ini");
    ini.WriteBool("Connect", "rb1", true);
    const IniFile::Result saved = ini.Save();
    EXPECT_FALSE(saved.ok);
    EXPECT_NE(saved.error.find("absent/current.ini"), std::string::npos) << saved.error;
}

}  // namespace
}  // namespace nvx
