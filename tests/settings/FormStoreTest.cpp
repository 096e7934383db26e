#include "core/FormStore.h"

#include "core/PageBaseOps.h"

#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace nvx {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

TEST(PageStore, KeepsHandAddedKeysOfThePageSection)
{
    TempFolder folder;
    const fs::path path = folder / "current.ini";
    WriteBytes(path,
               "[formCommon]\r\n; outputs group\r\nshowOuts=1\r\netName=old\r\n\r\n[Connect]\r\nrb1=1\r\n");
    FormModel form("formCommon");
    form.add("etName", ControlKind::Edit, "Склад");
    form.add("cbMode", ControlKind::ComboBox).index = 1;

    IniFile ini(path);
    ASSERT_TRUE(ini.Load().ok);
    SavePageState(ini, form);
    ASSERT_TRUE(ini.Save().ok);

    EXPECT_EQ(ReadBytes(path), "[formCommon]\r\n; outputs group\r\nshowOuts=1\r\n"
                               "etName=\xd1\xea\xeb\xe0\xe4\r\ncbMode=1\r\n\r\n[Connect]\r\nrb1=1\r\n");
}

TEST(FormStores, MissingKeysGiveTheDefaultsOfEachStore)
{
    struct State {
        std::string text;
        bool checked;
        int index;
    };
    const struct {
        const char* name;
        ControlKind kind;
        std::string hint;
        bool checkedBefore;  // before loading: text "old", index 2
        State generic;
        State page;
    } cases[] = {
        {"edit", ControlKind::Edit, "h", false, {"", false, 2}, {"h", false, 2}},
        {"masked edit", ControlKind::MaskEdit, "h", false, {"h", false, 2}, {"h", false, 2}},
        {"spin edit", ControlKind::SpinEdit, "5", false, {"old", false, 2}, {"old", false, 2}},
        {"check box, checked", ControlKind::CheckBox, "", true, {"old", true, 2}, {"old", false, 2}},
        {"radio, hint true", ControlKind::RadioButton, "true", false, {"old", false, 2}, {"old", true, 2}},
        {"radio, no hint", ControlKind::RadioButton, "", true, {"old", true, 2}, {"old", false, 2}},
        {"styled radio", ControlKind::StyledRadioButton, "false", true, {"old", true, 2}, {"old", true, 2}},
        {"combo box", ControlKind::ComboBox, "", false, {"A", false, 0}, {"A", false, 0}},
        {"extended combo box", ControlKind::ExtComboBox, "", false, {"A", false, 0}, {"old", false, 2}},
        {"button", ControlKind::Button, "", false, {"old", false, 2}, {"old", false, 2}},
    };
    const IniFile empty("/nonexistent/current.ini");
    for (const auto& c : cases) {
        for (const bool generic : {true, false}) {
            SCOPED_TRACE(testing::Message() << c.name << (generic ? ", generic store" : ", page store"));
            FormModel form("formTest");
            Control& control = form.add("c", c.kind, "old", c.hint);
            control.checked = c.checkedBefore;
            control.items = {"A", "B", "C"};
            control.index = 2;

            generic ? LoadGenericState(empty, form) : LoadPageState(empty, form);

            const State& expected = generic ? c.generic : c.page;
            const Control after = form.get("c");
            EXPECT_EQ(after.text, expected.text);
            EXPECT_EQ(after.checked, expected.checked);
            EXPECT_EQ(after.index, expected.index);
        }
    }
}

TEST(PageStore, CaptionsComeBackOnlyWhereThePageAsksForThem)
{
    const IniFile empty("/nonexistent/current.ini");
    for (const bool enabled : {true, false}) {
        SCOPED_TRACE(enabled ? "enabled" : "not enabled");
        FormModel form("formRadio");
        form.add("btnAdd1", ControlKind::Button, "Удалить");
        form.add("lbFreq", ControlKind::StyledLabel, "868");
        LoadPageState(empty, form, {.restoreButtonCaptions = enabled, .styledLabelCaptions = enabled});
        EXPECT_EQ(form.text("btnAdd1"), enabled ? "Добавить" : "Удалить");
        EXPECT_EQ(form.text("lbFreq"), "868");
    }
}

// A page with every kind the stores know, and some they skip.
void BuildPage(FormModel& form)
{
    form.add("etName", ControlKind::Edit);
    form.add("meKey", ControlKind::MaskEdit);
    form.add("seDelay", ControlKind::SpinEdit);
    form.add("cbFire", ControlKind::CheckBox);
    form.add("rbAuto", ControlKind::RadioButton).group = "outs";
    form.add("rbAt", ControlKind::RadioButton).group = "outs";
    form.add("cbMode", ControlKind::ComboBox).items = {"A", "B", "C"};
    form.add("cbxIcon", ControlKind::ExtComboBox).items = {"A", "B", "C"};
    form.add("btnAdd1", ControlKind::Button);
    form.add("lbFreq", ControlKind::StyledLabel);
    form.add("lbN", ControlKind::Label);
    form.add("rzRadio", ControlKind::StyledRadioButton);
    form.add("rzBtn", ControlKind::StyledButton);
}

void FillPage(FormModel& form)
{
    form.setText("etName", "Склад №1");
    form.setText("meKey", "12-34");
    form.update("seDelay", [](Control& c) { c.text = "9"; c.value = 9; });
    form.setChecked("cbFire", true);
    form.checkRadio("rbAt");
    SelectComboItem(form, "cbMode", 1);
    SelectComboItem(form, "cbxIcon", 2);
    form.setText("btnAdd1", "Удалить");
    form.setText("lbFreq", "868,1 МГц");
    form.setText("lbN", "1");
    form.setChecked("rzRadio", true);
    form.setText("rzBtn", "x");
}

TEST(FormStores, SavedPageComesBackFromTheFile)
{
    const PageStateOptions everything{.restoreButtonCaptions = true, .styledLabelCaptions = true};
    const struct {
        const char* name;
        std::function<void(IniFile&, const FormModel&)> save;
        std::function<void(const IniFile&, FormModel&)> load;
        std::vector<std::string> stored;
    } stores[] = {
        {"generic",
         SaveGenericState,
         LoadGenericState,
         {"etName", "meKey", "seDelay", "cbFire", "rbAuto", "rbAt", "cbMode", "cbxIcon"}},
        {"page base",
         [&](IniFile& ini, const FormModel& f) { SavePageState(ini, f, everything); },
         [&](const IniFile& ini, FormModel& f) { LoadPageState(ini, f, everything); },
         {"etName", "meKey", "seDelay", "cbFire", "rbAuto", "rbAt", "cbMode", "btnAdd1", "lbFreq"}},
    };
    for (const auto& store : stores) {
        SCOPED_TRACE(store.name);
        TempFolder folder;
        FormModel saved("formTest");
        BuildPage(saved);
        FillPage(saved);
        IniFile out(folder / "profile.ini");
        store.save(out, saved);
        ASSERT_TRUE(out.Save().ok);

        IniFile in(folder / "profile.ini");
        ASSERT_TRUE(in.Load().ok);
        FormModel loaded("formTest");
        BuildPage(loaded);
        loaded.checkRadio("rbAuto");
        store.load(in, loaded);

        for (const std::string& name : saved.names()) {
            SCOPED_TRACE(name);
            const bool stored =
                std::find(store.stored.begin(), store.stored.end(), name) != store.stored.end();
            EXPECT_EQ(in.ValueExists("formTest", name), stored);
            if (!stored)
                continue;
            const Control before = saved.get(name);
            const Control after = loaded.get(name);
            EXPECT_EQ(after.text, before.text);
            EXPECT_EQ(after.checked, before.checked);
            EXPECT_EQ(after.index, before.index);
            EXPECT_EQ(after.value, before.value);
        }
    }
}

TEST(FormStores, StoredComboIndexMustNameAnItem)
{
    const struct {
        const char* stored;
        int index;
    } cases[] = {{"2", 2}, {"-1", -1}, {"3", 0}, {"-5", 0}, {"x", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        TempFolder folder;
        WriteBytes(folder / "p.ini", std::string("[formWays]\ncbWay=") + c.stored + "\n");
        IniFile ini(folder / "p.ini");
        ASSERT_TRUE(ini.Load().ok);
        FormModel form("formWays");
        form.add("cbWay", ControlKind::ComboBox).items = {"A", "B", "C"};
        LoadGenericState(ini, form);
        EXPECT_EQ(form.index("cbWay"), c.index);
    }
}

}  // namespace
}  // namespace nvx
