// The partitions page's rules on its model and on the pages it reaches (interface thread): the
// fire and 24-hour flags, number fields, the exit-delay warning, the start-up load, the
// defaults and the column switches.
#include <gtest/gtest.h>

#include "core/IniFile.h"
#include "core/PageBaseOps.h"
#include "device/PageDirectory.h"
#include "pages/f_Bibelot.h"
#include "pages/f_Radio.h"
#include "pages/f_Razd.h"
#include "shell/Session.h"

using namespace nvx;

namespace {

class RazdPageRules : public ::testing::Test {
protected:
    RazdPageRules() { page().LoadState(ini); }  // the start-up load turns the rules on

    TformRazd& page() { return *dynamic_cast<TformRazd*>(session.Page(page_id::kPartitions)); }
    FormModel& form() { return page().Form(); }

    Session session;
    IniFile ini{"/nonexistent/razd-rules.ini"};
};

}  // namespace

TEST_F(RazdPageRules, TwentyFourHourLocksFireOk2AndExitDelayAndShortensAnEndlessSiren)
{
    form().setText("etSyr", "255");
    form().setText("meIN2", "060");
    form().setChecked("ko2", true);
    form().setChecked("cb24h2", true);

    EXPECT_EQ(form().text("etState2"), "Под охраной");
    EXPECT_FALSE(form().enabled("cbFire2"));
    EXPECT_FALSE(form().checked("ko2"));
    EXPECT_FALSE(form().enabled("ko2"));
    EXPECT_EQ(form().text("meIN2"), "000");
    EXPECT_FALSE(form().enabled("meIN2"));
    EXPECT_EQ(form().text("etSyr"), "254");
    EXPECT_TRUE(page().IsTwentyFourHour(2));
    EXPECT_TRUE(form().enabled("meIN1")) << "other partitions untouched";

    form().setChecked("cb24h2", false);
    EXPECT_EQ(form().text("etState2"), "Снято");
    EXPECT_TRUE(form().enabled("cbFire2"));
    EXPECT_TRUE(form().enabled("ko2"));
    EXPECT_TRUE(form().enabled("meIN2"));
}

TEST_F(RazdPageRules, FireClearsAndLocksTwentyFourHourAndEmptyLog)
{
    form().setChecked("cb24h3", true);
    form().setChecked("cbEmpty3", true);
    form().setChecked("cbFire3", true);

    EXPECT_FALSE(form().checked("cb24h3"));
    EXPECT_FALSE(form().enabled("cb24h3"));
    EXPECT_FALSE(form().checked("cbEmpty3"));
    EXPECT_FALSE(form().enabled("cbEmpty3"));
    EXPECT_EQ(form().text("etState3"), "Под охраной") << "the armed state outlasts the 24-hour flag's own rule";
    EXPECT_EQ(form().text("meIN3"), "000");
    EXPECT_FALSE(form().enabled("meIN3"));

    form().setChecked("cbFire3", false);
    EXPECT_TRUE(form().enabled("cb24h3"));
    EXPECT_TRUE(form().enabled("cbEmpty3"));
    EXPECT_EQ(form().text("etState3"), "Снято");
    EXPECT_TRUE(form().enabled("meIN3"));
}

TEST(RazdPageStartUp, RulesWaitForTheStartUpLoadExceptTheOtherPagesEffects)
{
    Session session;
    auto& page = *dynamic_cast<TformRazd*>(session.Page(page_id::kPartitions));
    FormModel& keyfobs = session.Page(page_id::kKeyfobs)->Form();
    const std::string keyfobBox = TformBibelot::PartitionBoxName(1, 4);
    page.Form().setText("etSyr", "255");
    page.Form().setChecked("cb24h4", true);
    EXPECT_EQ(page.Form().text("etSyr"), "255");
    EXPECT_TRUE(page.Form().enabled("cbFire4"));
    ASSERT_TRUE(keyfobs.has(keyfobBox));
    EXPECT_FALSE(keyfobs.enabled(keyfobBox));

    IniFile ini("/nonexistent/razd-start.ini");
    ini.WriteBool("formRazd", "cbFire1", true);
    ini.WriteBool("formRazd", "cb24h1", true);
    ini.WriteBool("formRazd", "cb24h2", true);
    page.LoadState(ini);
    const FormModel& f = page.Form();
    EXPECT_TRUE(f.checked("cbFire1"));
    EXPECT_FALSE(f.checked("cb24h1"));
    EXPECT_FALSE(f.enabled("cb24h1"));
    EXPECT_EQ(f.text("etState1"), "Под охраной");
    EXPECT_FALSE(f.enabled("cbFire2"));
    EXPECT_EQ(f.text("etState2"), "Под охраной");
    EXPECT_EQ(f.text("etState3"), "Снято");
}

TEST_F(RazdPageRules, TwentyFourHourResetsSensorsOfThePartitionAndLocksItsKeyfobBoxes)
{
    FormModel& sensors = session.Page(page_id::kRadioSensors)->Form();
    FormModel& keyfobs = session.Page(page_id::kKeyfobs)->Form();
    ASSERT_TRUE(sensors.has(TformRadio::DelayListName(1)));
    for (int row : {1, 2}) {
        SelectComboItem(sensors, TformRadio::PartitionListName(row), row == 1 ? 4 : 0);  // partitions 5 and 1
        SelectComboItem(sensors, TformRadio::DelayListName(row), 3);
        SelectComboItem(sensors, TformRadio::ZoneListName(row), 1);
    }
    keyfobs.setChecked(TformBibelot::PartitionBoxName(3, 5), true);

    form().setChecked("cb24h5", true);
    EXPECT_EQ(sensors.index(TformRadio::DelayListName(1)), 0);
    EXPECT_EQ(sensors.index(TformRadio::ZoneListName(1)), 0);
    EXPECT_EQ(sensors.index(TformRadio::DelayListName(2)), 3) << "a sensor of another partition keeps its delay";
    EXPECT_EQ(sensors.index(TformRadio::ZoneListName(2)), 1);
    for (int slot = 1; slot <= TformBibelot::kSlots; ++slot) {
        EXPECT_FALSE(keyfobs.enabled(TformBibelot::PartitionBoxName(slot, 5))) << slot;
        EXPECT_TRUE(keyfobs.enabled(TformBibelot::PartitionBoxName(slot, 4))) << slot;
    }
    EXPECT_FALSE(keyfobs.checked(TformBibelot::PartitionBoxName(3, 5)));

    form().setChecked("cb24h5", false);
    EXPECT_TRUE(keyfobs.enabled(TformBibelot::PartitionBoxName(3, 5)));
}

TEST_F(RazdPageRules, NumberFieldsExitDelayWarningAndUnlimitedEvents)
{
    form().setText("eca", "300");
    EXPECT_EQ(form().text("eca"), "255");
    form().setText("MaskEdit1", "0");
    EXPECT_EQ(form().text("MaskEdit1"), "01");
    for (auto [delay, warns] : {std::pair{"0", false}, {"1", true}, {"120", true}, {"121", false}}) {
        form().setText("meIN6", delay);
        EXPECT_EQ(form().visible("pnlWarning"), warns) << delay;
    }
    form().setText("meIN6", "300");
    EXPECT_EQ(page().ExitDelayText(6), "254");

    form().setChecked("cbWithoutLimit", true);
    EXPECT_FALSE(form().enabled("eca"));
    EXPECT_FALSE(form().enabled("lca"));
    form().setChecked("cbWithoutLimit", false);
    EXPECT_TRUE(form().enabled("eca"));
}

TEST_F(RazdPageRules, DefaultsAndThePreReadReset)
{
    form().setText("eca", "100");
    form().setText("etSyr", "200");
    form().setText("MaskEdit1", "20");
    form().setChecked("cbSyr1", true);
    form().checkRadio("rb11");
    form().checkRadio("rb32");
    form().setChecked("cbSiren1", true);
    form().setChecked("cb24h2", true);
    form().setText("meIN3", "045");
    SelectComboItem(form(), "cbR4", 0);

    page().SetDefaults();
    EXPECT_EQ(form().text("eca"), "010");
    EXPECT_EQ(form().text("etSyr"), "030");
    EXPECT_EQ(form().text("MaskEdit1"), "01");
    EXPECT_TRUE(form().checked("cbSyr1")) << "the cancel-button setting has no default";
    for (const char* on : {"rb14", "rb24", "rb34"})
        EXPECT_TRUE(form().checked(on)) << on;
    EXPECT_FALSE(form().checked("cbSiren1"));
    EXPECT_FALSE(form().checked("cb24h2"));
    EXPECT_EQ(form().text("etState2"), "Снято");
    EXPECT_EQ(form().text("meIN3"), "000");
    EXPECT_EQ(form().index("cbR4"), 3);

    form().setChecked("cbFire1", true);
    form().setChecked("cbSiren2", true);
    form().setText("meIN2", "090");
    page().ClearForRead();
    EXPECT_FALSE(form().checked("cbFire1"));
    EXPECT_TRUE(form().enabled("cb24h1"));
    EXPECT_TRUE(form().enabled("cbEmpty1"));
    EXPECT_FALSE(form().checked("cbSiren2"));
    EXPECT_EQ(form().text("meIN2"), "000");
    EXPECT_TRUE(form().enabled("meIN1"));
}

TEST_F(RazdPageRules, SwitchesShowTheirColumnsAndFirmwareTheFireSettings)
{
    IniFile settings("/nonexistent/current.ini");
    settings.WriteString("formRazd", "showPF", "1");
    settings.WriteString("formRazd", "showRazd", "1");
    page().ApplyProgramSwitches(settings);
    EXPECT_TRUE(form().visible("pp3") && form().visible("lbColPF"));
    EXPECT_TRUE(form().visible("cbR3") && form().visible("lbColNumber"));
    EXPECT_FALSE(form().visible("cbFire3") || form().visible("lbColFire"));
    EXPECT_FALSE(form().visible("cbQuick13") || form().visible("cbEmpty3"));

    session.Device().publishedVersion = 29;
    session.ShowPage(page());
    EXPECT_FALSE(form().visible("gbFire"));
    EXPECT_FALSE(form().visible("rb11"));
    EXPECT_TRUE(form().visible("rb31"));
    session.ShowPage(*session.Page(page_id::kGeneral));
    session.Device().publishedVersion = 30;
    session.ShowPage(page());
    EXPECT_TRUE(form().visible("gbFire"));
    EXPECT_TRUE(form().visible("rb21"));
}

TEST_F(RazdPageRules, ResistiveLoopsEnableFireFlagsExceptOnTwentyFourHourPartitions)
{
    page().ResetPartitionRows(false);
    EXPECT_FALSE(form().enabled("cbFire1"));
    form().setChecked("cb24h2", true);

    page().EnableFireFlags();
    page().ApplyRules();
    EXPECT_TRUE(form().enabled("cbFire1"));
    EXPECT_FALSE(form().enabled("cbFire2"));
    EXPECT_TRUE(page().IsTwentyFourHour(2));
}
