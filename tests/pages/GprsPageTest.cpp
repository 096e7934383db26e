// The GPRS page's own rules on its model: filling empty fields before a write, the key filters of
// its edits, defaults.
#include <gtest/gtest.h>

#include <map>

#include "pages/f_GPRS.h"

using namespace nvx;

TEST(GprsPage, EmptyFieldsAreFilledServerTwoFromServerOneFirst)
{
    struct Case {
        const char* name;
        std::map<std::string, std::string> given;
        std::map<std::string, std::string> filled;
    };
    const Case cases[] = {
        {"all empty: the defaults",
         {},
         {{"etSIM1Phone", "*99#"},
          {"etSIM1ADDR", "internet"},
          {"etSIM1IP", "0.0.0.0"},
          {"etSIM1Port", "3058"},
          {"etServerAddr2", "0.0.0.0"},
          {"etServerPort2", "3058"},
          {"etServerPswd2", "ABCDEFGH"}}},
        {"server 1 only: server 2 is the same",
         {{"etSIM1IP", "10.1.2.3"}, {"etSIM1Port", "4000"}},
         {{"etServerAddr2", "10.1.2.3"}, {"etServerPort2", "4000"}, {"etSIM1SPSWD", "ABCDEFGH"}}},
        {"nothing empty: nothing changes",
         {{"etSIM1Phone", "#777"},
          {"etSIM1IP", "10.1.2.3"},
          {"etServerAddr2", "10.9.9.9"},
          {"etServerPort2", "1"}},
         {{"etSIM1Phone", "#777"},
          {"etServerAddr2", "10.9.9.9"},
          {"etServerPort2", "1"},
          {"etSIM1Port", "3058"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TformGPRS page;
        for (const auto& [edit, text] : c.given)
            page.Form().setText(edit, text);
        page.FillEmptyFields();
        for (const auto& [edit, text] : c.filled)
            EXPECT_EQ(page.Form().text(edit), text) << edit;
    }
}

TEST(GprsPage, KeyFiltersOfTheDialStringAndThePasswords)
{
    struct Case {
        char32_t key;
        bool dialString;
        bool password;
    };
    const Case cases[] = {
        {U'0', true, true},   {U'9', true, true},   {U'*', true, false},  {U'#', true, false},
        {U'+', true, false},  {U'a', false, true},  {U'Z', false, true},  {U'W', false, true},
        {U'-', false, false}, {U' ', false, false}, {U'Ж', false, false}, {U'\b', true, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TformGPRS::DialStringKey(c.key), c.dialString ? c.key : 0) << static_cast<unsigned>(c.key);
        EXPECT_EQ(TformGPRS::PasswordKey(c.key), c.password ? c.key : 0) << static_cast<unsigned>(c.key);
    }
}

TEST(GprsPage, DefaultsSetEveryFieldButLeaveTheSwitchCopyToTheChannelsPage)
{
    TformGPRS page;
    page.Form().setChecked("cb11", true);
    page.Form().setChecked("cbP", true);
    page.Form().setIndex("cbTime", 4);
    page.Form().setText("etSIM1ADDR", "apn.example");
    page.SetDefaults();
    EXPECT_TRUE(page.Form().checked("cb11"));
    EXPECT_FALSE(page.Form().checked("cbP"));
    EXPECT_EQ(page.Form().index("cbTime"), 0);
    EXPECT_EQ(page.Form().text("cbTime"), "5 минут");
    EXPECT_EQ(page.Form().text("etSIM1ADDR"), "internet");
    EXPECT_EQ(page.Form().text("etSIM1Port"), "3058");
}
