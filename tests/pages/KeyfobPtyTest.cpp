// The keyfobs page end to end: the shell, the link and the page against the emulated panel on a
// pty, checking the commands on the wire, the panel's store and what the page shows.
#include <gtest/gtest.h>

#include "PanelPageDriver.h"
#include "core/IniFile.h"
#include "device/PageDirectory.h"
#include "pages/f_Bibelot.h"
#include "pages/f_MessageDlg.h"

using namespace nvx;
using namespace nvx::test;
using namespace std::chrono_literals;

namespace {

using Lines = std::vector<std::string>;

// Partitions as "+p" gives them: all disarmed with the siren on; partition 3 a 24-hour one.
constexpr const char* kThirdTwentyFourHour = "p=00001001E0 00001001E1 0000110002 00001001E3 00001001E4 00001001E5";

// The program connected to an emulated panel, showing the keyfobs page.
class KeyfobPage : public PanelPageDriver<TformBibelot> {
public:
    explicit KeyfobPage(const std::vector<std::string>& arguments = {})
        : PanelPageDriver(page_id::kKeyfobs, arguments, {"--learn-delay-ms", "100"})
    {
        Open();
    }

    FormModel& dialog() { return d.session.MessageDialog().Form(); }
    std::string box(int slot, int p) { return TformBibelot::PartitionBoxName(slot, p); }
    std::string store(const std::string& name) { return sim.state()[name]; }
    bool Press(int slot) { return Run([this, slot] { form().trigger(TformBibelot::ButtonName(slot)); }); }
};

Lines EveryKeyfobQuery()
{
    Lines queries;
    for (const char* slot : {"01", "02", "03", "04", "05", "06", "07", "08", "09", "0A", "0B", "0C", "0D", "0E",
                             "0F", "10"})
        queries.push_back(std::string("+b") + slot);
    return queries;
}

}  // namespace

TEST(KeyfobPty, ReadTakesPartitionsFirstThenFillsEverySlot)
{
    KeyfobPage k({"--set", "b02=0205", "--set", "b05=0500", "--set", "b0C=0C3F"});
    ASSERT_TRUE(k.connected);
    k.form().setText("btnAdd7", "Удалить");  // what the page showed before: gone after the read
    ASSERT_TRUE(k.Read());

    const Lines sent = k.Sent();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front(), "+p") << "24-hour partitions are known before the keyfobs";
    EXPECT_EQ(k.SentStartingWith({"+b"}), EveryKeyfobQuery());
    EXPECT_EQ(sent.back(), "+l=0") << "back to working mode";

    struct Row {
        int slot;
        bool enrolled;
        std::uint8_t set;
    };
    for (const Row& r : {Row{2, true, 0x05}, Row{5, true, 0x00}, Row{12, true, 0x3F}, Row{1, false, 0},
                         Row{7, false, 0}}) {
        SCOPED_TRACE("slot " + std::to_string(r.slot));
        EXPECT_EQ(k.form().text(TformBibelot::ButtonName(r.slot)), r.enrolled ? "Удалить" : "Добавить");
        EXPECT_EQ(k.form().get(TformBibelot::NumberLabelName(r.slot)).color, r.enrolled ? "clLime" : "clBtnFace");
        for (int p = 1; p <= 6; ++p)
            EXPECT_EQ(k.form().checked(k.box(r.slot, p)), ((r.set >> (p - 1)) & 1) != 0) << "partition " << p;
    }
    EXPECT_FALSE(k.d.LogHas("Ошибка при чтении настроек брелков!"));
}

TEST(KeyfobPty, WriteSendsEnrolledRowsOnlyWithoutTwentyFourHourPartitions)
{
    KeyfobPage k({"--set", kThirdTwentyFourHour, "--set", "b02=0205", "--set", "b05=0500"});
    ASSERT_TRUE(k.connected);
    ASSERT_TRUE(k.Read());
    EXPECT_FALSE(k.form().enabled(k.box(2, 3))) << "partition 3 is a 24-hour partition";

    // Keyfob 1 enrolled meanwhile with partitions 1 and 2; keyfob 2 still ticks partition 3.
    k.form().setText("btnAdd1", "Удалить");
    k.form().setChecked(k.box(1, 1), true);
    k.form().setChecked(k.box(1, 2), true);
    k.form().setChecked(k.box(2, 3), true);
    k.form().setChecked(k.box(9, 4), true);  // a free slot is never written
    ASSERT_TRUE(k.Write());

    EXPECT_EQ(k.SentStartingWith({"+b"}), (Lines{"+b01=0103", "+b02=0201", "+b05=0500"}));
    EXPECT_FALSE(k.form().checked(k.box(2, 3)));
    EXPECT_EQ(k.store("b01"), "0103");
    EXPECT_EQ(k.store("b02"), "0201");
    EXPECT_EQ(k.store("b09"), "09FF");
    EXPECT_FALSE(k.d.LogHas("Ошибка при записи настроек брелков!"));
}

TEST(KeyfobPty, EnrolmentOutcomesAlwaysEndInWorkingMode)
{
    KeyfobPage k;
    ASSERT_TRUE(k.connected);
    // The advanced enrolment form belongs to the radio sensors page alone.
    IniFile switches(::testing::TempDir() + "keyfob-switches.ini");
    switches.WriteString("formMessage", "advanceAdd", "1");
    k.d.session.MessageDialog().ApplyProgramSwitches(switches);

    struct Case {
        const char* result;
        const char* message;
        const char* button;
        int enrolledSlot;  // 0: none
        const char* stored;
        bool refused = false;  // the panel answers this command with ERR
        const char* refusedCommand = "+L";
    };
    const Case cases[] = {
        {"found", "Брелок №3 успешно найден", "OK", 3, "0302"},
        {"absent", "Брелок №3 не найден", "Ok", 0, "03FF"},
        {"known:0C", "Этот брелок уже есть в памяти панели под номером 12", "Отмена", 12, "03FF"},
        // No "OK" follows a refusal: the search ends at once instead of waiting for the user.
        {"found", "Ошибка при добавлении брелка!", "Ok", 0, "03FF", true},
        // Nor does a panel that refuses learn mode search: no "+L" goes out, and the dialog says so.
        {"found", "Ошибка при добавлении брелка!", "Ok", 0, "03FF", true, "+l=3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        k.sim.control(std::string("learn-result ") + c.result);
        k.sim.control("set b03 03FF");
        for (const char* command : {"+L", "+l=3"})
            k.sim.control(std::string(c.refused && command == std::string(c.refusedCommand) ? "reject" : "unreject") +
                          " " + command);
        k.page().ClearForRead();
        k.form().setChecked(k.box(3, 2), true);
        ASSERT_TRUE(k.Press(3));

        EXPECT_FALSE(k.dialog().visible("RzPanel1"));
        if (c.refusedCommand == std::string("+l=3"))
            EXPECT_EQ(k.Sent(), (Lines{"+l=3", "+l=0"}));
        else
            EXPECT_EQ(k.Sent(), (Lines{"+l=3", "+L03=0302", "+l=0"}));
        EXPECT_EQ(k.dialog().text("lbMessage"), c.message);
        EXPECT_EQ(k.dialog().text("btnOKCancel"), c.button);
        for (int slot : {3, 12})
            EXPECT_EQ(k.form().text(TformBibelot::ButtonName(slot)), slot == c.enrolledSlot ? "Удалить" : "Добавить")
                << "slot " << slot;
        if (c.enrolledSlot) {
            EXPECT_EQ(k.form().get(TformBibelot::NumberLabelName(c.enrolledSlot)).color, "clLime");
        }
        EXPECT_EQ(k.store("l"), "0");
        EXPECT_EQ(k.store("b03"), c.stored);
        EXPECT_EQ(k.d.LogHas("Ошибка при добавлении брелка!"), c.refused);
        k.d.session.MessageDialog().Close();
    }
}

TEST(KeyfobPty, ClosingTheSearchingDialogCancelsTheEnrolment)
{
    KeyfobPage k({"--learn-result", "silent"});
    ASSERT_TRUE(k.connected);
    k.Start([&] { k.form().trigger("btnAdd5"); });
    ASSERT_TRUE(k.d.ServeUntil([&] { return k.sim.wireLog().find("+L05=0500\r") != std::string::npos; }, 20s));
    EXPECT_EQ(k.dialog().text("btnOKCancel"), "Отмена");
    k.d.session.MessageDialog().Close();
    ASSERT_TRUE(k.Finish());

    EXPECT_EQ(k.Sent(), (Lines{"+l=3", "+L05=0500", "+l=0"}));
    EXPECT_EQ(k.store("l"), "0");
    EXPECT_EQ(k.form().text("btnAdd5"), "Добавить");
}

TEST(KeyfobPty, DeleteAsksFirstThenFreesTheSlot)
{
    KeyfobPage k({"--set", "b06=0607"});
    ASSERT_TRUE(k.connected);
    ASSERT_TRUE(k.Read());
    ASSERT_EQ(k.form().text("btnAdd6"), "Удалить");

    std::string asked;
    bool answer = false;
    k.page().SetConfirmation([&](const std::string& text) {
        asked = text;
        return answer;
    });
    ASSERT_TRUE(k.Press(6));
    EXPECT_EQ(asked, "Вы уверены, что хотите удалить брелок № 6");
    EXPECT_TRUE(k.SentStartingWith({"+b"}).empty()) << "the user said No";

    answer = true;
    ASSERT_TRUE(k.Press(6));
    EXPECT_EQ(k.SentStartingWith({"+b"}), (Lines{"+b06=06FF"}));
    EXPECT_EQ(k.store("b06"), "06FF");
    EXPECT_EQ(k.form().text("btnAdd6"), "Добавить");
    EXPECT_EQ(k.form().get("lbN06").color, "clBtnFace");
    for (int p = 1; p <= 6; ++p)
        EXPECT_FALSE(k.form().checked(k.box(6, p)));
}

TEST(KeyfobPty, WriteThePanelRefusesIsReportedAndTheOtherSlotsStillGo)
{
    KeyfobPage k({"--set", "b02=0201", "--set", "b05=0500", "--reject", "+b02="});
    ASSERT_TRUE(k.connected);
    ASSERT_TRUE(k.Read());
    k.form().setChecked(k.box(5, 6), true);
    ASSERT_TRUE(k.Write());

    // Without an end on "ERR" the write would wait for an "OK" that never comes.
    EXPECT_EQ(k.SentStartingWith({"+b"}), (Lines{"+b02=0201", "+b05=0520"}));
    EXPECT_EQ(k.store("b05"), "0520");
    EXPECT_TRUE(k.d.LogHas("Ошибка при записи настроек брелков!"));
}
