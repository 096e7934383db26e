#include "core/PageBaseOps.h"

#include <gtest/gtest.h>

namespace nvx {
namespace {

TEST(SetDefaults, EachKindTakesItsHintOrIsSkipped)
{
    const struct {
        const char* name;
        ControlKind kind;
        std::string hint;
        bool checkedBefore;
        // after SetDefaults; before it every control reads text "old", index 2, value 7
        std::string text;
        bool checked;
        int index;
        int value;
    } cases[] = {
        {"edit", ControlKind::Edit, "12", false, "12", false, 2, 7},
        {"edit, empty hint", ControlKind::Edit, "", false, "", false, 2, 7},
        {"masked edit", ControlKind::MaskEdit, "1234", false, "1234", false, 2, 7},
        {"spin edit", ControlKind::SpinEdit, "15", false, "15", false, 2, 15},
        {"spin edit, no number", ControlKind::SpinEdit, "abc", false, "abc", false, 2, 7},
        {"check box TRUE", ControlKind::CheckBox, "TRUE", false, "old", true, 2, 7},
        {"check box 0", ControlKind::CheckBox, "0", true, "old", false, 2, 7},
        {"check box, empty hint", ControlKind::CheckBox, "", true, "old", true, 2, 7},
        {"check box, no Boolean", ControlKind::CheckBox, "maybe", false, "old", false, 2, 7},
        {"radio button", ControlKind::RadioButton, "True", false, "old", true, 2, 7},
        {"radio button false", ControlKind::RadioButton, "false", true, "old", false, 2, 7},
        {"styled radio button", ControlKind::StyledRadioButton, "true", false, "old", true, 2, 7},
        {"combo box", ControlKind::ComboBox, "B", false, "B", false, 1, 7},
        {"combo box, hint not an item", ControlKind::ComboBox, "b", false, "old", false, 2, 7},
        {"extended combo box", ControlKind::ExtComboBox, "A", false, "A", false, 0, 7},
        {"label", ControlKind::Label, "x", false, "old", false, 2, 7},
        {"button", ControlKind::Button, "true", false, "old", false, 2, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FormModel form("formTest");
        Control& control = form.add("c", c.kind, "old", c.hint);
        control.checked = c.checkedBefore;
        control.items = {"A", "B", "C"};
        control.index = 2;
        control.value = 7;

        SetDefaults(form);

        const Control after = form.get("c");
        EXPECT_EQ(after.text, c.text);
        EXPECT_EQ(after.checked, c.checked);
        EXPECT_EQ(after.index, c.index);
        EXPECT_EQ(after.value, c.value);
    }
}

TEST(SetDefaults, RadioButtonsOfAGroupEndWithTheDefaultOne)
{
    FormModel form("formTest");
    form.add("rbAuto", ControlKind::RadioButton, "", "false").group = "outs";
    form.add("rbAt", ControlKind::RadioButton, "", "true").group = "outs";
    form.checkRadio("rbAuto");

    SetDefaults(form);

    EXPECT_FALSE(form.checked("rbAuto"));
    EXPECT_TRUE(form.checked("rbAt"));
}

TEST(ClearOperations, ResetMarksAndForAReadEmptyEditsAndCheckBoxes)
{
    const struct {
        ControlKind kind;
        bool normalText;        // font colour and weight reset
        bool normalBackground;  // background reset
    } cases[] = {
        {ControlKind::Label, true, false},      {ControlKind::StyledLabel, true, false},
        {ControlKind::Edit, true, true},        {ControlKind::MaskEdit, true, true},
        {ControlKind::SpinEdit, true, true},    {ControlKind::CheckBox, true, true},
        {ControlKind::RadioButton, true, true}, {ControlKind::StyledRadioButton, true, true},
        {ControlKind::ComboBox, false, false},  {ControlKind::Button, false, false},
    };
    for (const bool forRead : {true, false}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << (forRead ? "ClearForRead" : "ClearMarks") << ", kind "
                                            << static_cast<int>(c.kind));
            FormModel form("formTest");
            Control& control = form.add("c", c.kind, "value");
            control.checked = true;
            control.fontColor = "clBlue";
            control.color = "clRed";
            control.bold = true;

            forRead ? ClearForRead(form) : ClearMarks(form);

            const Control after = form.get("c");
            EXPECT_EQ(after.text, forRead && c.kind == ControlKind::Edit ? "" : "value");
            EXPECT_EQ(after.checked, !(forRead && c.kind == ControlKind::CheckBox));
            EXPECT_EQ(after.fontColor, c.normalText ? "clWindowText" : "clBlue");
            EXPECT_EQ(after.bold, !c.normalText);
            EXPECT_EQ(after.color, c.normalBackground ? "clWindow" : "clRed");
        }
    }
}

}  // namespace
}  // namespace nvx
