// The wired loops page end to end: the shell, the link and the page against the emulated panel on
// a pty, checking the loop commands on the wire and what the page shows.
#include <gtest/gtest.h>

#include "PanelPageDriver.h"
#include "device/PageDirectory.h"
#include "pages/f_Shleif.h"

using namespace nvx;
using namespace nvx::test;
using namespace std::chrono_literals;

namespace {

constexpr const char* kBlue = "clBlue";
constexpr const char* kRed = "clRed";

// The program connected to an emulated panel, showing the wired loops page.
class LoopsPage : public PanelPageDriver<TformShleif> {
public:
    explicit LoopsPage(const std::vector<std::string>& arguments = {})
        : PanelPageDriver(page_id::kWiredLoops, arguments)
    {
        Open();
    }

    void Click(const char* radio)
    {
        form().checkRadio(radio);
        form().trigger(radio);
    }
    // The loop commands sent since the last command; the companion pages' commands are left out.
    std::vector<std::string> LoopSent() const { return SentStartingWith({"+wt", "+M", "+wz", "+dp"}); }
};

}  // namespace

TEST(ShleifPagePty, ReadFillsTheFieldsAndWritesTheAdjustedParametersBack)
{
    // Resistive; loop 1 measured open, normal closed, partition 3, entry zone, 30 s; loop 2 measured
    // fault, normal closed, partition 2, instant. Of the longer threshold answer 15 characters count.
    LoopsPage p({"--set", "wt=04013F1C42023E8FFF", "--set", "M=08FF0A", "--set", "wz=001211E211000", "--set",
                 "dp=2"});
    ASSERT_TRUE(p.connected);
    ASSERT_TRUE(p.Read());
    const FormModel& f = p.form();

    EXPECT_EQ(f.text("etKZn1"), "0");
    EXPECT_EQ(f.text("etZAMn1"), "3,97");
    EXPECT_EQ(f.text("etZAM2n1"), "6,04");
    EXPECT_EQ(f.text("etZAM1n1"), "7,01");
    EXPECT_EQ(f.text("etRAZn1"), "обрыв");
    EXPECT_EQ(f.text("etWarnn1"), "6,04");
    EXPECT_EQ(f.text("etNormn1"), "обрыв");
    EXPECT_EQ(f.get("tsn1").thumbs[1], 0x13F - 64);
    EXPECT_EQ(f.get("ts2n1").thumbs[3], 936);
    EXPECT_EQ(f.text("etNomZone1"), "8");
    EXPECT_EQ(f.text("etNomZone2"), "");
    EXPECT_EQ(f.text("etNomZone3"), "10");

    EXPECT_TRUE(f.checked("rzt0"));
    EXPECT_EQ(f.get("rzt0").fontColor, kBlue);
    EXPECT_EQ(f.text("etState1"), "Нарушенное");
    EXPECT_EQ(f.text("etState2"), "Аварийное");
    EXPECT_EQ(f.get("etState1").color, kBlue);
    EXPECT_EQ(f.text("cbRazdNum1"), "3");
    EXPECT_EQ(f.text("cbZn1"), "входная");
    EXPECT_EQ(f.text("meTO1"), "030");
    EXPECT_EQ(f.text("cbRazdNum2"), "2");
    EXPECT_EQ(f.text("meTO2"), "000");
    EXPECT_TRUE(f.checked("RadioButton1"));
    // Board selector 1: "Формировать" also chose resistive loops and open normal states, and the
    // read ends by writing what it read and adjusted.
    EXPECT_EQ(f.index("cbNorm1"), 0);
    EXPECT_EQ(f.index("cbNorm2"), 0);
    EXPECT_EQ(p.LoopSent(), (std::vector<std::string>{"+wt", "+M", "+wz", "+dp", "+wz=00211E01000", "+dp=02"}));
    // The panel keeps the measured inputs it answered (0 and 2) beside what was written.
    EXPECT_EQ(p.sim.state().at("wz"), "000211E201000");
    EXPECT_FALSE(p.d.LogHas("шлейф"));
}

TEST(ShleifPagePty, WriteSendsTheThresholdsResistorsAndParameters)
{
    LoopsPage p;
    ASSERT_TRUE(p.connected);
    p.Click("RadioButton1");  // generate events: resistive, both normal states open
    p.form().setIndex("cbRazdNum1", 0);
    p.form().setIndex("cbZn1", 0);
    p.form().setIndex("cbNorm2", 1);
    p.form().setIndex("cbRazdNum2", 1);
    p.form().setIndex("cbZn2", 1);
    p.form().setText("meTO2", "30");
    ASSERT_TRUE(p.Write());

    EXPECT_EQ(p.LoopSent(), (std::vector<std::string>{"+wt=0401412022C23E8", "+M=08050A", "+wz=0000001111E", "+dp=02"}));
    EXPECT_EQ(p.form().get("etState2").color, kBlue);
    EXPECT_FALSE(p.d.LogHas("шлейф"));

    // A read gives back what was written, with the panel's measured inputs (both open here).
    ASSERT_TRUE(p.Read());
    EXPECT_EQ(p.form().text("etState1"), "Нормальное");
    EXPECT_EQ(p.form().text("etState2"), "Нарушенное");
    EXPECT_EQ(p.form().text("cbZn2"), "входная");
    EXPECT_EQ(p.form().text("meTO2"), "030");
}

TEST(ShleifPagePty, EmptyResistorAndTypedLongDelayAreSentInRange)
{
    LoopsPage p;
    ASSERT_TRUE(p.connected);
    p.Click("RadioButton1");
    p.form().setText("etNomZone2", "");
    p.form().setIndex("cbZn1", 1);
    p.form().setText("meTO1", "300");
    EXPECT_EQ(p.form().text("meTO1"), "254");
    p.form().setText("etKZn1", "обрыв ");
    ASSERT_TRUE(p.Write());

    const auto sent = p.LoopSent();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0], "+wt=3E81412022C23E8");
    EXPECT_EQ(sent[1], "+M=08FF0A");
    EXPECT_EQ(sent[2], "+wz=0051FE05000");
}

TEST(ShleifPagePty, TypeThatIsNoDigitIsReportedAndTheLoopsStillFill)
{
    LoopsPage p({"--set", "wz=X005000015000"});
    ASSERT_TRUE(p.connected);
    ASSERT_TRUE(p.Read());
    const FormModel& f = p.form();

    EXPECT_TRUE(p.d.LogHas("Ошибка при расшифровке типа нумерации шлейфов!"));
    EXPECT_FALSE(p.d.LogHas("Ошибка при чтении параметров шлейфов!"));
    EXPECT_EQ(f.get("rzt0").fontColor, kRed);
    EXPECT_EQ(f.get("rzt1").fontColor, kRed);
    EXPECT_EQ(f.text("etState1"), "Нормальное");
    EXPECT_EQ(f.text("cbRazdNum1"), "6");
    EXPECT_EQ(f.text("etState2"), "Нарушенное");
}

TEST(ShleifPagePty, BoardSelectorTwoHidesTheGroupsAndSendsNoEventCommands)
{
    // Hardware variant 1 with firmware 45: board selector 2.
    LoopsPage p({"--vp", "000001"});
    ASSERT_TRUE(p.connected);
    EXPECT_FALSE(p.form().visible("RzGroupBox2"));
    EXPECT_FALSE(p.form().visible("GroupBox2"));
    EXPECT_TRUE(p.form().checked("rzt1"));
    EXPECT_TRUE(p.form().checked("RadioButton1"));

    ASSERT_TRUE(p.Read());
    EXPECT_EQ(p.LoopSent(), (std::vector<std::string>{"+wt", "+M", "+wz"}));
    ASSERT_TRUE(p.Write());
    EXPECT_EQ(p.LoopSent(), (std::vector<std::string>{"+wt=0401412022C23E8", "+M=08050A", "+wz=10500005000"}));
}

TEST(ShleifPagePty, LiveReadingShowsWhileThePageIsCurrent)
{
    LoopsPage p({"--c1", "081"});
    ASSERT_TRUE(p.connected);
    const FormModel& f = p.form();
    ASSERT_TRUE(p.d.ServeUntil([&] { return f.text("etKOMtsn1") == "1,01"; }, 15s)) << f.text("etKOMtsn1");
    EXPECT_EQ(f.text("etKOMts2n1"), "1,01");
    EXPECT_EQ(f.get("tsn1").marker, 0x81 - 64);
    EXPECT_EQ(f.get("ts2n1").marker, 0x81 - 64);
}

TEST(ShleifPagePty, FailedLoopReadWritesNothingBack)
{
    // The rows hold only their reset after such a read; writing them would replace the panel's loops.
    LoopsPage p({"--reject", "+wz"});
    ASSERT_TRUE(p.connected);
    ASSERT_TRUE(p.Read());
    EXPECT_TRUE(p.d.LogHas("Ошибка при чтении параметров шлейфов!"));
    for (const std::string& line : p.LoopSent())
        EXPECT_NE(line.rfind("+wz=", 0), 0u) << line;
    EXPECT_EQ(p.sim.state().at("wz"), "1005000005000");
}
