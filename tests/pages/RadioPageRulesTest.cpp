// The radio sensors page and the enrolment dialog on their models, without a line: the zone and
// delay rules, the copy menu, the preparation for a read, defaults, state, and the dialog's choices.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "core/IniFile.h"
#include "core/OutArray.h"
#include "device/DevVeltra.h"
#include "pages/f_MessageDlg.h"
#include "pages/f_Radio.h"

using namespace nvx;

namespace {

constexpr const char* kInfrared = "ИК \"Объемник\"";
constexpr const char* kContact = "СМК \"Геркон\"";

class RadioPageRules : public ::testing::Test {
protected:
    FormModel& form() { return page.Form(); }
    int item(const std::string& list) { return form().index(list); }

    // A row as the read leaves it: type, caption and the three list items.
    void Row(int row, const std::string& type, SensorSettings settings = {}, bool enrolled = true)
    {
        form().setText(TformRadio::TypeFieldName(row), type);
        form().setText(TformRadio::ButtonName(row), enrolled ? "Удалить" : "Добавить");
        form().setIndex(TformRadio::PartitionListName(row), settings.partitionItem);
        form().setIndex(TformRadio::DelayListName(row), settings.delayItem);
        form().setIndex(TformRadio::ZoneListName(row), settings.zoneItem);
    }
    SensorSettings SettingsOf(int row)
    {
        return {item(TformRadio::PartitionListName(row)), item(TformRadio::DelayListName(row)),
                item(TformRadio::ZoneListName(row))};
    }
    // The user picks an item: the list changes, then its handler runs.
    void Choose(const std::string& list, int index)
    {
        form().setIndex(list, index);
        form().trigger(list);
    }
    void Popup(int row, const char* command)
    {
        page.SetPopupRow(TformRadio::NumberLabelName(row));
        form().trigger(command);
    }

    TOutArray queue;
    TDevVeltra device{queue};
    TformMessageDlg dialog{device};
    TformRadio page{device, dialog};
};

TEST_F(RadioPageRules, BuildsThirtyTwoRowsWithTheirLists)
{
    const Control delays = form().get("cbZ32");
    ASSERT_EQ(delays.items.size(), 61u);
    EXPECT_EQ(delays.items[1], "4 сек");
    EXPECT_EQ(delays.items[60], "240 сек");
    EXPECT_EQ(form().get("cbR01").items, (std::vector<std::string>{"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(form().get("cbZn17").items, (std::vector<std::string>{"мгновенная", "входная", "проходная"}));
    for (const char* name : {"lbN1", "lbN32", "etT32", "btnAdd32"})
        EXPECT_TRUE(form().has(name)) << name;
    EXPECT_FALSE(form().enabled("btnAdd1"));  // until a connection is made
    EXPECT_FALSE(form().enabled("nInsert"));
}

TEST_F(RadioPageRules, ZoneRule)
{
    struct Case {
        const char* type;
        int zone;
        int delay;
        int wantZone;
        int wantDelay;
        bool zoneEnabled;
        bool partitionEnabled;
        bool delayEnabled;
    };
    const Case cases[] = {
        {kInfrared, 1, 0, 1, 1, true, true, true},       // an entry zone needs a delay: 4 s
        {kInfrared, 1, 7, 1, 7, true, true, true},
        {kInfrared, 0, 5, 0, 0, true, true, false},      // only an entry zone has a delay
        {kInfrared, 2, 3, 2, 0, true, true, false},
        {"Дымовой", 0, 0, 0, 0, false, true, false},     // a smoke sensor keeps its zone
        {"", 2, 0, 2, 0, true, false, false},            // no sensor, no partition
        {"Пожарный", 1, 5, 0, 0, false, true, false},    // fire sensors alarm at once
        {"ИПР", 2, 0, 0, 0, false, true, false},
    };
    for (const Case& c : cases) {
        Row(4, c.type, {2, c.delay, c.zone});
        page.ApplyZoneRule(4);
        EXPECT_EQ(item("cbZn04"), c.wantZone) << c.type << " zone " << c.zone;
        EXPECT_EQ(item("cbZ04"), c.wantDelay) << c.type << " zone " << c.zone;
        EXPECT_EQ(item("cbR04"), 2) << c.type;
        EXPECT_EQ(form().enabled("cbZn04"), c.zoneEnabled) << c.type;
        EXPECT_EQ(form().enabled("cbR04"), c.partitionEnabled) << c.type;
        EXPECT_EQ(form().enabled("cbZ04"), c.delayEnabled) << c.type << " zone " << c.zone;
    }
}

TEST_F(RadioPageRules, ZoneRuleOfAnyRowLocksEveryFireRow)
{
    Row(9, "ИПР", {0, 5, 1});
    Row(10, "Пожарный", {0, 0, 2});
    Row(11, kContact, {0, 5, 1});
    page.ApplyZoneRule(1);
    EXPECT_EQ(SettingsOf(9), (SensorSettings{0, 0, 0}));
    EXPECT_EQ(SettingsOf(10), (SensorSettings{0, 0, 0}));
    EXPECT_FALSE(form().enabled("cbZ09") || form().enabled("cbZn09") || form().enabled("cbZn10"));
    EXPECT_EQ(SettingsOf(11), (SensorSettings{0, 5, 1}));
}

TEST_F(RadioPageRules, UserChoicesRunTheRules)
{
    Row(3, kInfrared, {0, 0, 0});
    Choose("cbZn03", 1);  // entry: a delay of 4 s appears
    EXPECT_EQ(item("cbZ03"), 1);
    EXPECT_TRUE(form().enabled("cbZ03"));
    Choose("cbZ03", 5);
    EXPECT_EQ(item("cbZn03"), 1);
    Choose("cbZ03", 0);  // no delay: no longer an entry zone
    EXPECT_EQ(item("cbZn03"), 0);
    EXPECT_FALSE(form().enabled("cbZ03"));

    form().setIndex("cbZn03", 1);  // an entry zone without delay, then a partition choice
    form().setIndex("cbZ03", 0);
    Choose("cbR03", 4);
    EXPECT_EQ(item("cbZ03"), 1);
}

TEST_F(RadioPageRules, CopyMenuActsOnTheRowUnderTheMouse)
{
    page.SetPopupRow("lbN12");
    EXPECT_EQ(page.PopupRow(), 12);
    page.SetPopupRow("etT5");
    EXPECT_EQ(page.PopupRow(), 5);

    Row(1, kInfrared, {2, 3, 1});
    Row(2, kContact, {0, 0, 0});
    Row(3, kInfrared, {0, 0, 0});
    Row(4, "", {0, 0, 0}, false);

    Popup(4, "nCopy");  // a free row has nothing to copy
    EXPECT_FALSE(form().enabled("nInsert"));
    Popup(1, "nCopy");
    EXPECT_TRUE(form().enabled("nInsert"));
    Popup(2, "nInsert");
    EXPECT_EQ(SettingsOf(2), (SensorSettings{2, 3, 1}));
    Popup(4, "nInsert");
    EXPECT_EQ(SettingsOf(4), (SensorSettings{0, 0, 0}));

    Row(2, kContact, {0, 0, 0});
    Popup(1, "N2");  // the same type only
    EXPECT_EQ(SettingsOf(3), (SensorSettings{2, 3, 1}));
    EXPECT_EQ(SettingsOf(2), (SensorSettings{0, 0, 0}));
    Popup(1, "N3");  // every sensor, never a free row
    EXPECT_EQ(SettingsOf(2), (SensorSettings{2, 3, 1}));
    EXPECT_EQ(SettingsOf(4), (SensorSettings{0, 0, 0}));
}

TEST_F(RadioPageRules, NumberLabelFollowsTheButtonCaption)
{
    EXPECT_EQ(form().get("lbN7").color, "clBtnFace");
    form().setText("btnAdd7", "Удалить");
    EXPECT_EQ(form().get("lbN7").color, "clLime");
    form().setText("btnAdd7", "Добавить");
    EXPECT_EQ(form().get("lbN7").color, "clBtnFace");
}

TEST_F(RadioPageRules, ClearForReadFreesEveryRowAndShowsTheFirstTab)
{
    Row(20, kInfrared, {3, 4, 1});
    form().setIndex("PageControl1", 1);
    page.ClearForRead();
    EXPECT_EQ(form().index("PageControl1"), 0);
    EXPECT_EQ(form().text("etT20"), "");
    EXPECT_EQ(form().text("btnAdd20"), "Добавить");
    EXPECT_EQ(form().get("lbN20").color, "clBtnFace");
    EXPECT_EQ(SettingsOf(20), (SensorSettings{0, 0, 0}));
    EXPECT_FALSE(form().enabled("cbR20"));
}

TEST_F(RadioPageRules, DefaultsSetOnlyTheLists)
{
    Row(6, kInfrared, {3, 0, 2});
    form().setEnabled("cbZ06", false);
    page.SetDefaults();
    EXPECT_EQ(form().text("cbR06"), "1");
    EXPECT_EQ(form().text("cbZ06"), "4 сек");
    EXPECT_EQ(form().text("cbZn06"), "мгновенная");
    EXPECT_EQ(form().text("etT6"), kInfrared);
    EXPECT_EQ(form().text("btnAdd6"), "Удалить");
    EXPECT_FALSE(form().enabled("cbZ06"));
}

TEST_F(RadioPageRules, StateKeepsTheEnrolmentRecord)
{
    const auto path = std::filesystem::temp_directory_path() / ("radio-state-" + std::to_string(::getpid()) + ".ini");
    Row(8, kContact, {1, 2, 1});
    {
        IniFile ini(path);
        page.SaveState(ini);
        ASSERT_TRUE(ini.Save());
    }
    TformRadio other(device, dialog);
    IniFile ini(path);
    ASSERT_TRUE(ini.Load());
    other.LoadState(ini);
    EXPECT_EQ(other.Form().text("btnAdd8"), "Удалить");
    EXPECT_EQ(other.Form().get("lbN8").color, "clLime");
    EXPECT_EQ(other.Form().text("etT8"), kContact);
    EXPECT_EQ(other.Form().index("cbZn08"), 1);
    EXPECT_EQ(other.Form().text("btnAdd9"), "Добавить");

    IniFile empty(path.string() + ".missing");
    other.LoadState(empty);
    EXPECT_EQ(other.Form().text("btnAdd8"), "Добавить");
    std::filesystem::remove(path);
}

TEST_F(RadioPageRules, ShowingThePageAppliesTheZoneRuleToEveryRow)
{
    Row(30, "", {0, 4, 2}, false);
    form().setVisible(form().name(), true);
    EXPECT_EQ(item("cbZ30"), 0);
    EXPECT_FALSE(form().enabled("cbR30"));
}

TEST_F(RadioPageRules, ClicksDoNothingWithoutAConnection)
{
    form().setText("btnAdd2", "Удалить");
    bool asked = false;
    page.SetConfirmation([&](const std::string&) { return asked = true; });
    form().trigger("btnAdd1");
    form().trigger("btnAdd2");
    EXPECT_FALSE(dialog.Visible());
    EXPECT_FALSE(asked);
}

class MessageDialogRules : public ::testing::Test {
protected:
    FormModel& form() { return dialog.Form(); }
    void SwitchAdvanced(bool on)
    {
        IniFile settings(std::filesystem::temp_directory_path() / "radio-no-such-settings.ini");
        settings.WriteBool("formMessage", "advanceAdd", on);
        dialog.ApplyProgramSwitches(settings);
    }

    TOutArray queue;
    TDevVeltra device{queue};
    TformMessageDlg dialog{device};
};

TEST_F(MessageDialogRules, PlainSearchShowsTheMessageAndCancel)
{
    form().setText("lbType", "old");
    form().setText("btnOKCancel", "OK");
    EXPECT_FALSE(dialog.ShowSearch("Идет поиск радиодатчика...", true));
    EXPECT_TRUE(dialog.Visible());
    EXPECT_EQ(form().text(form().name()), "Сообщение");
    EXPECT_EQ(form().text("lbMessage"), "Идет поиск радиодатчика...");
    EXPECT_EQ(form().text("lbType"), "");
    EXPECT_EQ(form().text("btnOKCancel"), "Отмена");
    EXPECT_FALSE(form().visible("RzPanel1"));
    EXPECT_FALSE(form().visible("RzPanel2"));

    form().trigger("btnOKCancel");  // closing without a connection cancels nothing
    EXPECT_FALSE(dialog.Visible());
    EXPECT_FALSE(device.abortState);
}

TEST_F(MessageDialogRules, AdvancedFormOnlyWhenSwitchedOnAndOfferedByTheSensorsPage)
{
    SwitchAdvanced(true);
    EXPECT_FALSE(dialog.ShowSearch("Идет поиск брелка...", false));
    EXPECT_FALSE(form().visible("RzPanel1"));
    EXPECT_TRUE(dialog.ShowSearch("Идет поиск радиодатчика...", true));
    EXPECT_TRUE(form().visible("RzPanel1"));
    SwitchAdvanced(false);
    EXPECT_FALSE(dialog.ShowSearch("Идет поиск радиодатчика...", true));
}

TEST_F(MessageDialogRules, PeriodChoice)
{
    SwitchAdvanced(true);
    dialog.ShowSearch("Идет поиск радиодатчика...", true);
    form().trigger("Button2");
    EXPECT_FALSE(form().visible("RzPanel1"));
    EXPECT_TRUE(form().visible("RzPanel2"));
    EXPECT_TRUE(dialog.PeriodChosen());
    EXPECT_EQ(form().text("Edit1"), "5");

    struct Case {
        const char* typed;
        bool left;  // else a key was released
        const char* shown;
    };
    const Case cases[] = {{"3", true, "5"}, {"", true, "5"}, {"3", false, "3"},
                          {"75", false, "60"}, {"75", true, "75"}, {"42", true, "42"}};
    for (const Case& c : cases) {
        form().setText("Edit1", c.typed);
        if (c.left)
            dialog.PeriodFieldLeft();
        else
            dialog.PeriodKeyReleased();
        EXPECT_EQ(form().text("Edit1"), c.shown) << c.typed;
    }
    form().setText("Edit1", "12");
    EXPECT_EQ(dialog.PeriodSeconds(), 12);

    form().trigger("btnOKCancel");  // the period is chosen: the search starts, the dialog stays
    EXPECT_TRUE(dialog.Visible());
    EXPECT_FALSE(form().visible("RzPanel2"));
    EXPECT_EQ(form().text("btnOKCancel"), "Отмена");

    dialog.ShowSearch("Идет поиск радиодатчика...", true);
    form().trigger("Button1");  // standard settings: no period
    EXPECT_FALSE(dialog.PeriodChosen());
    EXPECT_FALSE(form().visible("RzPanel1"));
}

}  // namespace
