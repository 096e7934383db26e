// The wired loops page without a line: the threshold code conversion, the loop state text, the
// entry delay and resistor rules, the loop type and event rules, defaults and the sliders.
#include <gtest/gtest.h>

#include "core/OutArray.h"
#include "device/DevVeltra.h"
#include "pages/LoopThresholds.h"
#include "pages/f_Shleif.h"

using namespace nvx;

namespace {

TEST(LoopThresholds, CodeToText)
{
    const struct {
        int code;
        const char* text;
    } cases[] = {
        {0x040, "0"},   {0x013, "0"},     {0x13F, "3,97"}, {0x1C4, "6,04"}, {0x202, "7,01"},
        {0x141, "4"},   {0x2C2, "10"},    {0x3E8, "обрыв"}, {0xFFF, "обрыв"}, {65, "0,01"},
        {100, "0,56"},  {999, "14,56"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LoopThresholdText(c.code), c.text) << c.code;
}

TEST(LoopThresholds, TextToCode)
{
    const struct {
        const char* text;
        int code;
    } cases[] = {
        {"0", 64},       {"", 64},          {"4", 0x141},    {"7", 0x202},   {"10", 0x2C2},
        {"обрыв", 1000}, {" обрыв ", 1000}, {"3,97", 0x13F}, {"3.97", 0x13F}, {"abc", 64},
        // Beyond the codes the panel keeps: held to them so that three hex digits carry it.
        {"100", 1000},   {"-5", 64},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LoopThresholdCode(c.text), c.code) << c.text;
}

TEST(LoopThresholds, EveryCodeSurvivesItsText)
{
    // What the page shows and writes back again is the code it read, for every code the panel keeps.
    for (int code = 64; code <= 1000; ++code)
        EXPECT_EQ(LoopThresholdCode(LoopThresholdText(code)), code) << code;
}

TEST(ShleifPage, StateTextFromMeasuredInputAndNormalState)
{
    const struct {
        int input, normal;
        const char* text;
    } cases[] = {
        {0, 0, "Нормальное"}, {1, 1, "Нормальное"}, {0, 1, "Нарушенное"},
        {1, 0, "Нарушенное"}, {2, 0, "Аварийное"},  {2, 1, "Аварийное"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TformShleif::StateText(c.input, c.normal), c.text) << c.input << c.normal;
}

TEST(ShleifPage, EntryDelayNormalisation)
{
    const struct {
        const char* typed;
        const char* kept;
    } cases[] = {{"300", "254"}, {"255", "254"}, {"254", "254"}, {"5", "005"},
                 {" 3 ", "030"}, {"", "000"},    {"x1", "000"},  {"030", "030"}};
    for (const auto& c : cases)
        EXPECT_EQ(TformShleif::NormalisedDelay(c.typed), c.kept) << c.typed;
}

class ShleifRules : public ::testing::Test {
protected:
    FormModel& form() { return page.Form(); }
    void Click(const char* radio)
    {
        form().checkRadio(radio);
        form().trigger(radio);
    }

    TOutArray queue;
    TDevVeltra device{queue};
    TformShleif page{device};
};

TEST_F(ShleifRules, TypedEntryDelayAndResistorAreKeptInRange)
{
    form().setIndex("cbZn1", 1);
    form().setText("meTO1", "300");
    EXPECT_EQ(form().text("meTO1"), "254");
    form().setText("etNomZone2", "999");
    EXPECT_EQ(form().text("etNomZone2"), "254");
    form().setText("etNomZone2", "");
    EXPECT_EQ(form().text("etNomZone2"), "");
}

TEST_F(ShleifRules, OnlyAnEntryZoneKeepsAnEditableEntryDelay)
{
    Click("RadioButton1");
    form().setIndex("cbZn1", 1);
    EXPECT_TRUE(form().enabled("meTO1"));
    form().setText("meTO1", "30");
    EXPECT_EQ(form().text("meTO1"), "030");
    form().setIndex("cbZn1", 2);
    EXPECT_EQ(form().text("meTO1"), "000");
    EXPECT_EQ(form().text("meIN1"), "000");
    EXPECT_FALSE(form().enabled("meTO1"));
}

TEST_F(ShleifRules, LoopTypeShowsTheResistorsAndCoversTheSecondLoop)
{
    Click("RadioButton1");  // board selector 1: also selects resistive loops and open normal states
    EXPECT_TRUE(form().checked("rzt0"));
    EXPECT_TRUE(form().visible("etNomZone1"));
    EXPECT_TRUE(form().visible("pSensor2"));
    EXPECT_TRUE(form().visible("btnThresholds"));
    EXPECT_TRUE(form().enabled("cbZn2"));

    form().trigger("btnThresholds");
    EXPECT_TRUE(form().visible("RzGroupBox2n1"));
    Click("rzt1");
    EXPECT_FALSE(form().visible("RzGroupBox2n1"));
    EXPECT_FALSE(form().visible("etNomZone3"));
    EXPECT_FALSE(form().visible("btnThresholds"));
    EXPECT_TRUE(form().enabled("cbZn1"));
    EXPECT_FALSE(form().enabled("cbZn2"));

    Click("RadioButton2");  // not generated: the table and the type group are locked
    EXPECT_FALSE(form().enabled("cbZn1"));
    EXPECT_FALSE(form().enabled("GroupBox2"));
}

TEST_F(ShleifRules, HiddenEventGroupComesBackWithTheNextConnection)
{
    // The connection's "hide" reaches a group box as a disable; "Show" goes to the type group.
    form().setEnabled("RzGroupBox2", false);
    EXPECT_FALSE(page.EventGroupShows());
    EXPECT_FALSE(form().visible("GroupBox2"));
    form().setVisible("GroupBox2", true);
    EXPECT_TRUE(page.EventGroupShows());
}

TEST_F(ShleifRules, DefaultsResetRowsThresholdsAndType)
{
    Click("RadioButton1");
    form().setIndex("cbRazdNum1", 0);
    form().setIndex("cbNorm2", 1);
    form().setText("etZAMn1", "2");
    form().setText("etNomZone1", "");
    page.SetDefaults();

    for (int loop = 1; loop <= 2; ++loop) {
        EXPECT_EQ(form().text(TformShleif::StateName(loop)), "Нормальное");
        EXPECT_EQ(form().index(TformShleif::NormalName(loop)), 0);
        EXPECT_EQ(form().text(TformShleif::PartitionName(loop)), "6");
        EXPECT_EQ(form().text(TformShleif::EntryDelayName(loop)), "000");
    }
    EXPECT_EQ(form().text("etZAMn1"), "4");
    EXPECT_EQ(form().text("etAlarmn1"), "4");
    EXPECT_EQ(form().text("etNomZone1"), "8");
    EXPECT_TRUE(form().checked("rzt1"));
    EXPECT_TRUE(form().checked("RadioButton2"));
    const auto thumbs = form().get("tsn1").thumbs;
    EXPECT_EQ(thumbs[0], 0);
    EXPECT_EQ(thumbs[1], 0x141 - 64);
    EXPECT_EQ(thumbs[4], 936);
}

TEST_F(ShleifRules, SlidersAndBothViewsFollowEachOther)
{
    page.SliderMoved("tsn1", {0, 255, 388, 642, 936});
    EXPECT_EQ(form().text("etZAMn1"), "3,97");
    EXPECT_EQ(form().text("etZAM2n1"), "6,04");
    EXPECT_EQ(form().text("etZAM1n1"), "10");
    EXPECT_EQ(form().text("etWarnn1"), "6,04");
    EXPECT_EQ(form().text("etNormn1"), "обрыв");
    EXPECT_EQ(form().get("ts2n1").thumbs[1], 255);

    page.SliderMoved("ts2n1", {0, 100, 300, 900});
    EXPECT_EQ(form().text("etZAMn1"), "1,55");
    EXPECT_EQ(form().text("etRAZn1"), "14,02");
    EXPECT_EQ(form().text("etZAM1n1"), "10");  // t4 has no thumb on the four-boundary slider

    form().setText("etAlarmn1", "2");
    EXPECT_EQ(form().text("etZAMn1"), "2");
    EXPECT_EQ(form().get("tsn1").thumbs[1], LoopThresholdCode("2") - 64);
}

}  // namespace
