// The partitions page end to end: the shell, the link and the page against the emulated panel on a
// pty, checking the commands on the wire, what the page shows and what the panel keeps.
#include <gtest/gtest.h>

#include <algorithm>

#include "PanelPageDriver.h"
#include "device/PageDirectory.h"
#include "pages/f_Razd.h"

using namespace nvx;
using namespace nvx::test;

namespace {

constexpr const char* kReadError = "Ошибка при чтении настроек разделов!";
const std::vector<std::string> kPartitionReads{"+p", "+x", "+CA", "+y", "+yc", "+ym", "+da", "+dn", "+ds"};

std::string AllItems(const std::string& item, int count)
{
    std::string answer;
    for (int i = 0; i < count; ++i)
        answer += (i ? " " : "") + item;
    return answer;
}

// The program after its start-up load, connected to an emulated panel and showing the partitions page.
class PartitionsPage : public PanelPageDriver<TformRazd> {
public:
    explicit PartitionsPage(const std::vector<std::string>& arguments = {})
        : PanelPageDriver(page_id::kPartitions, arguments)
    {
        page().LoadState(IniFile("/nonexistent/razd-pty.ini"));
        Open();
    }

    // The lines from the first one starting with `first` up to and including the first one after it
    // starting with `last`.
    std::vector<std::string> Between(const std::string& first, const std::string& last) const
    {
        const std::vector<std::string> lines = Sent();
        auto startsWith = [](const std::string& prefix) {
            return [prefix](const std::string& line) { return line.rfind(prefix, 0) == 0; };
        };
        auto begin = std::find_if(lines.begin(), lines.end(), startsWith(first));
        auto end = std::find_if(begin, lines.end(), startsWith(last));
        return {begin, end == lines.end() ? end : end + 1};
    }
};

}  // namespace

TEST(RazdPagePty, ReadOfThePageAloneReadsThePartitionsThenSensorsAndLoops)
{
    PartitionsPage g({"--set", "p=" + AllItems("1111111000", 6), "--set", "x=05", "--set", "CA=00", "--set",
                      "y=FF", "--set", "yc=1", "--set", "ym=012", "--set", "da=010000", "--set", "dn=C3",
                      "--set", "ds=1F"});
    ASSERT_TRUE(g.connected) << g.d.session.Splash().text("Panel2");
    ASSERT_TRUE(g.Read());

    const std::vector<std::string> sent = g.Sent();
    ASSERT_GE(sent.size(), kPartitionReads.size());
    EXPECT_EQ(std::vector<std::string>(sent.begin(), sent.begin() + 9), kPartitionReads);
    for (const char* companion : {"+z01", "+wt", "+wz"})
        EXPECT_EQ(g.Count(companion), 1) << companion;

    const FormModel& f = g.form();
    for (int p = 1; p <= TformRazd::kPartitions; ++p) {
        SCOPED_TRACE(p);
        EXPECT_EQ(f.text(TformRazd::StateName(p)), "Под охраной");
        for (const std::string& box : {TformRazd::QuickName(p), TformRazd::Quick2Name(p), TformRazd::SirenName(p),
                                       TformRazd::FireName(p)})
            EXPECT_TRUE(f.checked(box)) << box;
        // The fire flag came last and took the 24-hour and empty-log flags away.
        EXPECT_FALSE(f.checked(TformRazd::TwentyFourHourName(p)));
        EXPECT_FALSE(f.checked(TformRazd::EmptyLogName(p)));
        EXPECT_EQ(f.text(TformRazd::ExitDelayName(p)), "000");
        EXPECT_EQ(f.checked(TformRazd::Ok2Name(p)), p == 2);
        EXPECT_EQ(f.checked(TformRazd::FirePossibilityName(p)), p == 1 || p == 2);
    }
    EXPECT_TRUE(f.checked("cbWithoutLimit"));
    EXPECT_FALSE(f.enabled("eca"));
    EXPECT_EQ(f.text("etSyr"), "255");
    EXPECT_TRUE(f.checked("cbSyr1"));
    EXPECT_TRUE(f.checked("rb11") && f.checked("rb22") && f.checked("rb33"));
    EXPECT_EQ(f.text("MaskEdit1"), "31");
    EXPECT_FALSE(g.d.LogHas(kReadError));
}

TEST(RazdPagePty, AnswersThatEndOrShortenTheRead)
{
    {
        PartitionsPage g({"--set", "p=" + AllItems("1111111000", 5)});
        ASSERT_TRUE(g.connected);
        ASSERT_TRUE(g.Read());
        EXPECT_TRUE(g.d.LogHas(kReadError));
        EXPECT_EQ(g.form().text(TformRazd::StateName(1)), "") << "nothing shown from the broken answer";
    }
    {
        PartitionsPage g({"--set", "ym=33"});
        ASSERT_TRUE(g.connected);
        ASSERT_TRUE(g.Read());
        const std::vector<std::string> sent = g.Between("+p", "+ym");
        EXPECT_EQ(sent, std::vector<std::string>(kPartitionReads.begin(), kPartitionReads.begin() + 6));
        for (const char* skipped : {"+da", "+dn", "+ds"})
            EXPECT_EQ(g.Count(skipped), 0) << skipped;
        EXPECT_FALSE(g.d.LogHas(kReadError));
    }
}

TEST(RazdPagePty, WriteSendsEverySettingInOrderAndThePanelKeepsEachPartition)
{
    PartitionsPage g;
    ASSERT_TRUE(g.connected);
    FormModel& f = g.form();
    f.setChecked("cbSiren2", true);
    f.setText("meIN2", "030");
    f.setChecked("cb24h4", true);
    f.setChecked("ko3", true);
    f.setChecked("CheckBox1", true);
    f.setChecked("CheckBox6", true);
    f.setText("etSyr", "045");
    f.checkRadio("rb12");
    f.checkRadio("rb23");
    f.setText("MaskEdit1", "12");
    ASSERT_TRUE(g.Write());

    const std::vector<std::string> records{"0110000000", "01101001E1", "0110000002",
                                           "1110010003", "0110000004", "0110000005"};
    std::vector<std::string> expected{"+CA=0A", "+y=2D", "+yc=0", "+ym=123"};
    for (std::size_t i = 0; i < records.size(); ++i)
        expected.push_back("+p" + std::to_string(i) + "=" + records[i]);
    expected.insert(expected.end(), {"+x=21", "+da=001000", "+dn=00", "+ds=0C"});
    EXPECT_EQ(g.Between("+CA=", "+ds="), expected);
    std::string kept;
    for (const std::string& record : records)
        kept += (kept.empty() ? "" : " ") + record;
    EXPECT_EQ(g.sim.state().at("p"), kept);

    f.setChecked("cbWithoutLimit", true);
    f.setText("eca", "100");
    ASSERT_TRUE(g.Write());
    EXPECT_EQ(g.Count("+CA=00"), 1);
}

TEST(RazdPagePty, ARefusedPartitionRecordIsReportedAndShownQuickColumnsAreSent)
{
    {
        // A panel whose partition table is broken refuses every record.
        PartitionsPage g({"--set", "p=" + AllItems("0000000000", 5)});
        ASSERT_TRUE(g.connected);
        ASSERT_TRUE(g.Write());
        EXPECT_EQ(g.Count("+p0=0110000000"), 1);
        EXPECT_EQ(g.Count("+p1=0110000001"), 0) << "the first refused record ends the records";
        EXPECT_EQ(g.Count("+x=00"), 1) << "the settings after the records are still written";
        EXPECT_TRUE(g.d.LogHas("Ошибка при записи настроек разделов!"));
    }
    {
        PartitionsPage g;
        ASSERT_TRUE(g.connected);
        IniFile settings("/nonexistent/current.ini");
        settings.WriteString("formRazd", "showQuickEmpty", "1");
        g.page().ApplyProgramSwitches(settings);
        g.form().setChecked("cbQuick12", true);
        g.form().setChecked("cbEmpty3", true);
        ASSERT_TRUE(g.Write());
        EXPECT_EQ(g.Count("+p0=0000000000"), 1) << "boxes the user left off";
        EXPECT_EQ(g.Count("+p1=0100000001"), 1);
        EXPECT_EQ(g.Count("+p2=0001000002"), 1);
        EXPECT_FALSE(g.d.LogHas("Ошибка при записи настроек разделов!"));
    }
}

TEST(RazdPagePty, FirePossibilityAndThresholdNeedFirmwareThirty)
{
    for (auto [version, fire] : {std::pair{"14.10.29", false}, {"14.10.30", true}}) {
        SCOPED_TRACE(version);
        PartitionsPage g({"--version", version});
        ASSERT_TRUE(g.connected);
        ASSERT_TRUE(g.Read());
        EXPECT_EQ(g.Count("+dn"), fire ? 1 : 0);
        EXPECT_EQ(g.Count("+ds"), fire ? 1 : 0);
        EXPECT_EQ(g.form().visible("gbFire"), fire);
        ASSERT_TRUE(g.Write());
        EXPECT_EQ(g.Count("+dn=00"), fire ? 1 : 0);
        EXPECT_EQ(g.Count("+ds=01"), fire ? 1 : 0);
    }
}

TEST(RazdPagePty, ReadAllReadsOnlyThePartitionsOnTheirPage)
{
    PartitionsPage g;
    ASSERT_TRUE(g.connected);
    ASSERT_TRUE(g.Run([&g] { g.d.session.ReadAllCommand(); }));
    for (const char* companion : {"+z01", "+wt", "+wz"})
        EXPECT_EQ(g.Count(companion), 1) << companion << " read by its own page only";
    EXPECT_FALSE(g.d.LogHas(kReadError));
}
