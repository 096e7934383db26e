#include "core/PhoneList.h"

#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

namespace nvx {
namespace {

using Phones = std::vector<std::string>;

TEST(PhoneList, ReadStopsAtTheFirstMissingOrEmptyNumber)
{
    const struct {
        const char* name;
        std::string connect;
        Phones expected;
    } cases[] = {
        {"five", "Phone1=1\nPhone2=2\nPhone3=3\nPhone4=4\nPhone5=5\nPhone6=6\n", {"1", "2", "3", "4", "5"}},
        {"third empty", "Phone1=1\nPhone2=2\nPhone3=\nPhone4=4\nPhone5=5\n", {"1", "2"}},
        {"second missing", "Phone1=1\nPhone3=3\n", {"1"}},
        {"none", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder folder;
        test::WriteBytes(folder / "current.ini", "[Connect]\n" + c.connect);
        IniFile ini(folder / "current.ini");
        ASSERT_TRUE(ini.Load().ok);
        EXPECT_EQ(ReadPhoneList(ini), c.expected);
    }
}

TEST(PhoneList, WriteFillsTheRemainingNumbersWithEmptyValues)
{
    test::TempFolder folder;
    test::WriteBytes(folder / "current.ini", "[Connect]\nPhone1=9\nPhone4=8\nPhone5=7\n");
    IniFile ini(folder / "current.ini");
    ASSERT_TRUE(ini.Load().ok);

    WritePhoneList(ini, {"+7901", "+7902", "+7903"});
    ASSERT_TRUE(ini.Save().ok);

    EXPECT_EQ(test::ReadBytes(folder / "current.ini"),
              "[Connect]\nPhone1=+7901\nPhone4=\nPhone5=\nPhone2=+7902\nPhone3=+7903\n");
    EXPECT_EQ(ReadPhoneList(ini), (Phones{"+7901", "+7902", "+7903"}));
}

TEST(PhoneList, RememberPutsANewNumberFirstAndKeepsFive)
{
    const struct {
        const char* name;
        Phones before;
        std::string number;
        Phones after;
    } cases[] = {
        {"into an empty list", {}, "1", {"1"}},
        {"sixth pushes out the oldest", {"5", "4", "3", "2", "1"}, "6", {"6", "5", "4", "3", "2"}},
        {"already listed", {"2", "1"}, "1", {"2", "1"}},
        {"empty", {"1"}, "", {"1"}},
        {"list grown by a profile", {"7", "6", "5", "4", "3", "2", "1"}, "8", {"8", "7", "6", "5", "4"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RememberPhone(c.before, c.number), c.after);
    }
}

}  // namespace
}  // namespace nvx
