// The general page's rules on the interface thread: defaults, state in the settings file, the
// start-up switches and the rules between its controls.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "core/IniFile.h"
#include "core/OutArray.h"
#include "device/DevVeltra.h"
#include "pages/f_common.h"

using namespace nvx;

namespace {

class CommonPageRules : public ::testing::Test {
protected:
    FormModel& form() { return page.Form(); }

    // Everything away from its default.
    void ChangeEverything()
    {
        form().setText("etO", "1A2B");
        form().setText("etKey", "9999");
        form().setText("etTime", "10:00:00 01/02/24");
        form().checkRadio("rbAT");
        form().trigger("rbAT");
        form().checkRadio("rbSOn");
        form().checkRadio("rbAlarmBtnOn4");
        form().setChecked("cbSyr", true);
        form().setChecked("cbSyrB", true);
        form().setChecked("CheckBox1", true);
        form().setIndex("RzComboBox1", 7);
        form().setChecked("adelay", true);
        form().checkRadio("RadioButton2");
    }

    std::filesystem::path IniPath(const char* name)
    {
        return std::filesystem::temp_directory_path() /
               ("common-rules-" + std::to_string(::getpid()) + "-" + name + ".ini");
    }

    TOutArray queue;
    TDevVeltra device{queue};
    TformCommon page{device};
};

void ExpectDefaults(const FormModel& form)
{
    EXPECT_EQ(form.text("etO"), "0050");
    EXPECT_EQ(form.text("etKey"), "1234");
    EXPECT_TRUE(form.checked("rbAuto"));
    EXPECT_FALSE(form.checked("rbAT"));
    EXPECT_TRUE(form.checked("rbBothOff"));
    EXPECT_FALSE(form.enabled("RzGroupBox4"));
    EXPECT_TRUE(form.checked("rbAlarmBtnOn"));
    EXPECT_FALSE(form.checked("rbAlarmBtnOn4"));
    EXPECT_FALSE(form.checked("cbSyr"));
    EXPECT_FALSE(form.checked("cbSyrB"));
    EXPECT_FALSE(form.checked("CheckBox1"));
    EXPECT_EQ(form.index("RzComboBox1"), 0);
    EXPECT_EQ(form.text("RzComboBox1"), "5 мин");
    EXPECT_FALSE(form.enabled("RzComboBox1"));
    EXPECT_FALSE(form.checked("adelay"));
    EXPECT_TRUE(form.checked("RadioButton1"));
    EXPECT_FALSE(form.checked("RadioButton2"));
}

}  // namespace

TEST_F(CommonPageRules, FreshPageAndDefaultsCommandAgree)
{
    ExpectDefaults(form());
    EXPECT_FALSE(form().visible("RzGroupBox2"));
    EXPECT_FALSE(form().visible("RzGroupBox8"));
    EXPECT_FALSE(form().visible("RzGroupBox10"));
    EXPECT_TRUE(form().visible("btnSync"));
    EXPECT_TRUE(form().enabled("btnSync"));

    ChangeEverything();
    page.SetDefaults();
    ExpectDefaults(form());
    EXPECT_EQ(form().text("etTime"), "");
}

TEST_F(CommonPageRules, StateRoundTripsThroughTheSettingsFile)
{
    const auto path = IniPath("state");
    ChangeEverything();
    {
        IniFile ini(path);
        page.SaveState(ini);
        ASSERT_TRUE(ini.Save());
    }
    IniFile ini(path);
    ASSERT_TRUE(ini.Load());
    std::filesystem::remove(path);
    EXPECT_EQ(ini.ReadString("formCommon", "etO", ""), "1A2B");
    EXPECT_TRUE(ini.ReadBool("formCommon", "rbSOn", false));
    EXPECT_EQ(ini.ReadInteger("formCommon", "RzComboBox1", -1), 7);

    TOutArray otherQueue;
    TDevVeltra otherDevice(otherQueue);
    TformCommon other(otherDevice);
    other.LoadState(ini);
    const FormModel& loaded = other.Form();
    EXPECT_EQ(loaded.text("etO"), "1A2B");
    EXPECT_EQ(loaded.text("etKey"), "9999");
    EXPECT_TRUE(loaded.checked("rbAT"));
    EXPECT_TRUE(loaded.checked("rbSOn"));
    EXPECT_TRUE(loaded.enabled("RzGroupBox4"));
    EXPECT_TRUE(loaded.checked("rbAlarmBtnOn4"));
    EXPECT_FALSE(loaded.checked("rbAlarmBtnOn"));
    EXPECT_TRUE(loaded.checked("cbSyr"));
    EXPECT_TRUE(loaded.checked("cbSyrB"));
    EXPECT_TRUE(loaded.checked("CheckBox1"));
    EXPECT_EQ(loaded.index("RzComboBox1"), 7);
    EXPECT_TRUE(loaded.enabled("RzComboBox1"));
    EXPECT_TRUE(loaded.checked("adelay"));
    EXPECT_TRUE(loaded.checked("RadioButton2"));
    EXPECT_FALSE(loaded.checked("RadioButton1"));
}

TEST_F(CommonPageRules, LoadingAppliesTheRulesAndMissingKeysGiveTheDefaults)
{
    const auto path = IniPath("rules");
    {
        IniFile ini(path);
        // Automatic control with a value stored: automatic control always means both off.
        ini.WriteBool("formCommon", "rbAuto", true);
        ini.WriteBool("formCommon", "rbAT", false);
        ini.WriteBool("formCommon", "rbBothOff", false);
        ini.WriteBool("formCommon", "rbBothOn", true);
        ASSERT_TRUE(ini.Save());
    }
    IniFile ini(path);
    ASSERT_TRUE(ini.Load());
    std::filesystem::remove(path);
    ChangeEverything();
    page.LoadState(ini);
    EXPECT_TRUE(form().checked("rbBothOff"));
    EXPECT_FALSE(form().checked("rbBothOn"));
    EXPECT_FALSE(form().enabled("RzGroupBox4"));
    // Keys the file does not hold.
    EXPECT_EQ(form().text("etO"), "0050");
    EXPECT_EQ(form().text("etKey"), "1234");
    EXPECT_FALSE(form().checked("CheckBox1"));
    EXPECT_FALSE(form().enabled("RzComboBox1"));
    EXPECT_EQ(form().index("RzComboBox1"), 0);
    EXPECT_TRUE(form().checked("rbAlarmBtnOn"));
    EXPECT_TRUE(form().checked("RadioButton1"));
}

TEST_F(CommonPageRules, StartUpSwitchesShowTheButtonsAndTheOutputs)
{
    struct Case {
        const char* buttons;  // [Buttons] CButtons, nullptr: missing
        const char* outputs;  // [formCommon] showOuts
        bool buttonsShown, outputsShown;
    };
    const Case cases[] = {
        {nullptr, nullptr, false, false}, {"1", "1", true, true}, {"0", "0", false, false},
        {"yes", "2", false, true},
    };
    for (const Case& c : cases) {
        const auto path = IniPath("switches");
        {
            IniFile ini(path);
            if (c.buttons)
                ini.WriteString("Buttons", "CButtons", c.buttons);
            if (c.outputs)
                ini.WriteString("formCommon", "showOuts", c.outputs);
            ASSERT_TRUE(ini.Save());
        }
        IniFile ini(path);
        ASSERT_TRUE(ini.Load());
        std::filesystem::remove(path);
        TOutArray q;
        TDevVeltra d(q);
        TformCommon fresh(d);
        fresh.Form().checkRadio("rbAT");
        fresh.ApplyProgramSwitches(ini);
        const FormModel& f = fresh.Form();
        for (const char* name : {"btnStop", "btnStart", "btnReboot"})
            EXPECT_EQ(f.visible(name), c.buttonsShown) << name << " " << (c.buttons ? c.buttons : "-");
        EXPECT_EQ(f.visible("RzGroupBox2"), c.outputsShown);
        // Showing the outputs starts them as automatic.
        EXPECT_EQ(f.checked("rbAuto"), c.outputsShown);
        EXPECT_TRUE(f.visible("btLamptest"));
        EXPECT_TRUE(f.visible("btnSync"));
    }
}

TEST_F(CommonPageRules, ControlsFollowEachOther)
{
    // Output control: by AT commands the values are free; automatic resets them to both off.
    form().checkRadio("rbAT");
    form().trigger("rbAT");
    EXPECT_TRUE(form().enabled("RzGroupBox4"));
    form().checkRadio("rbFOn");
    form().checkRadio("rbAuto");
    form().trigger("rbAuto");
    EXPECT_FALSE(form().enabled("RzGroupBox4"));
    EXPECT_TRUE(form().checked("rbBothOff"));
    EXPECT_FALSE(form().checked("rbFOn"));

    // The lock time can be chosen only while the lock is on, however the box changed.
    form().setChecked("CheckBox1", true);
    EXPECT_TRUE(form().enabled("RzComboBox1"));
    form().setChecked("CheckBox1", false);
    EXPECT_FALSE(form().enabled("RzComboBox1"));

    // The object number shows upper case; an emptied key field takes the default key.
    form().setText("etO", "1a2b");
    EXPECT_EQ(form().text("etO"), "1A2B");
    form().setText("etKey", "");
    page.MasterKeyFieldLeft();
    EXPECT_EQ(form().text("etKey"), "1234");
    form().setText("etKey", "AB");
    page.MasterKeyFieldLeft();
    EXPECT_EQ(form().text("etKey"), "AB");
}
