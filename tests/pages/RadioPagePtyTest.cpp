// The radio sensors page end to end: the shell, the link and the page against the emulated panel on a
// pty — the read, the write, enrolment with each of the panel's verdicts and deletion, checking the
// commands on the wire, what the page shows, and that the panel is always back in working mode.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "PanelPageDriver.h"
#include "core/IniFile.h"
#include "device/PageDirectory.h"
#include "pages/f_MessageDlg.h"
#include "pages/f_Radio.h"

using namespace nvx;
using namespace nvx::test;
using namespace std::chrono_literals;

namespace {

constexpr const char* kReadError = "Ошибка при чтении настроек радиодатчиков!";
constexpr const char* kInfrared = "ИК \"Объемник\"";

// The program connected to an emulated panel, showing the radio sensors page.
class RadioPage : public PanelPageDriver<TformRadio> {
public:
    explicit RadioPage(const std::vector<std::string>& arguments = {})
        : PanelPageDriver(page_id::kRadioSensors, arguments, {"--learn-delay-ms", "150"})
    {
        Open();
        page().SetConfirmation([this](const std::string& text) {
            questions.push_back(text);
            return answerYes;
        });
    }

    TformMessageDlg& dialog() { return d.session.MessageDialog(); }
    bool Click(int row) { return Run([this, row] { form().trigger(TformRadio::ButtonName(row)); }); }
    bool InWorkingMode() const { return sim.state().at("l") == "0"; }

    bool answerYes = true;
    std::vector<std::string> questions;
};

std::vector<std::string> AllSlotQueries()
{
    std::vector<std::string> lines;
    for (const char* slot : {"01", "02", "03", "04", "05", "06", "07", "08", "09", "0A", "0B", "0C", "0D", "0E",
                             "0F", "10", "11", "12", "13", "14", "15", "16", "17", "18", "19", "1A", "1B", "1C",
                             "1D", "1E", "1F", "20"})
        lines.push_back(std::string("+z") + slot);
    return lines;
}

}  // namespace

TEST(RadioPagePty, ReadFillsEveryRowAndReturnsThePanelToWorkingMode)
{
    RadioPage r({"--set", "z01=0141000", "--set", "z02=0222011", "--set", "z05=05833C2", "--set", "z1A=1A81000"});
    ASSERT_TRUE(r.connected);
    ASSERT_TRUE(r.Read());

    std::vector<std::string> expected = AllSlotQueries();
    expected.push_back("+l=0");
    EXPECT_EQ(r.Sent(), expected);
    const FormModel& f = r.form();
    EXPECT_EQ(f.text("etT1"), kInfrared);
    EXPECT_EQ(f.text("btnAdd1"), "Удалить");
    EXPECT_EQ(f.get("lbN1").color, "clLime");
    EXPECT_TRUE(f.enabled("cbR01"));
    // A smoke sensor (firmware 45): partition 2, entry zone, 4 s; only its zone list is locked.
    EXPECT_EQ(f.text("etT2"), "Дымовой");
    EXPECT_EQ(f.index("cbR02"), 1);
    EXPECT_EQ(f.index("cbZ02"), 1);
    EXPECT_EQ(f.index("cbZn02"), 1);
    EXPECT_FALSE(f.enabled("cbZn02"));
    EXPECT_TRUE(f.enabled("cbZ02"));
    // Partition 3, 240 s, pass-through, but a manual call point alarms at once.
    EXPECT_EQ(f.text("etT5"), "ИПР");
    EXPECT_EQ(f.index("cbR05"), 2);
    EXPECT_EQ(f.index("cbZ05"), 0);
    EXPECT_EQ(f.index("cbZn05"), 0);
    EXPECT_FALSE(f.enabled("cbZ05"));
    EXPECT_EQ(f.text("etT26"), "ИПР");
    EXPECT_EQ(f.text("etT3"), "");
    EXPECT_EQ(f.text("btnAdd3"), "Добавить");
    EXPECT_EQ(f.get("lbN3").color, "clBtnFace");
    EXPECT_FALSE(f.enabled("cbR03"));
    EXPECT_TRUE(r.InWorkingMode());
    EXPECT_FALSE(r.LogHas(kReadError));
}

TEST(RadioPagePty, OlderFirmwareNamesAFireSensorAndLocksItsRow)
{
    RadioPage r({"--version", "14.10.29", "--set", "z02=0222011"});
    ASSERT_TRUE(r.connected);
    ASSERT_TRUE(r.Read());
    const FormModel& f = r.form();
    EXPECT_EQ(f.text("etT2"), "Пожарный");
    EXPECT_EQ(f.index("cbR02"), 1);
    EXPECT_EQ(f.index("cbZ02"), 0);
    EXPECT_EQ(f.index("cbZn02"), 0);
    EXPECT_FALSE(f.enabled("cbZ02"));
    EXPECT_FALSE(f.enabled("cbZn02"));
}

TEST(RadioPagePty, TypeCodeZeroFreesTheSlotButKeepsItsName)
{
    RadioPage r({"--set", "z04=0431000"});
    ASSERT_TRUE(r.connected);
    ASSERT_TRUE(r.Read());
    ASSERT_EQ(r.form().text("etT4"), "Разбития");
    r.sim.control("set z04 0401000");
    // A read without the page's preparation, as the partitions page runs it.
    ASSERT_TRUE(r.Run([&] { r.d.session.Link()->SetJob(3); }));
    EXPECT_EQ(r.form().text("etT4"), "Разбития");
    EXPECT_EQ(r.form().text("btnAdd4"), "Добавить");
    EXPECT_EQ(r.form().get("lbN4").color, "clBtnFace");
}

TEST(RadioPagePty, AnUndecodableRecordEndsTheReadWithItsMessage)
{
    RadioPage r({"--set", "z03=03X1000"});
    ASSERT_TRUE(r.connected);
    ASSERT_TRUE(r.Read());
    EXPECT_TRUE(r.LogHas(kReadError));
    const std::vector<std::string> sent = r.Sent();
    EXPECT_EQ(sent, (std::vector<std::string>{"+z01", "+z02", "+z03"}));
}

TEST(RadioPagePty, WriteSendsExactlyTheEnrolledRows)
{
    RadioPage r;
    ASSERT_TRUE(r.connected);
    FormModel& f = r.form();
    f.setText("etT5", kInfrared);
    f.setText("btnAdd5", "Удалить");
    f.setText("etT6", kInfrared);  // a name without enrolment is not written
    f.setText("etT7", "Неизвестный");
    f.setText("btnAdd7", "Удалить");
    f.setIndex("cbR07", 5);
    f.setIndex("cbZ07", 60);
    f.setIndex("cbZn07", 1);
    ASSERT_TRUE(r.Write());

    EXPECT_EQ(r.Sent(), (std::vector<std::string>{"+z05=0541000", "+z07=07F63C1", "+l=0"}));
    EXPECT_EQ(r.sim.state().at("z05"), "0541000");
    EXPECT_EQ(r.sim.state().at("z07"), "07F63C1");
    EXPECT_TRUE(r.InWorkingMode());
}

TEST(RadioPagePty, ARefusedWriteIsReportedAndTheRestIsWritten)
{
    RadioPage r({"--reject", "+z05="});
    ASSERT_TRUE(r.connected);
    for (int row : {5, 6}) {
        r.form().setText(TformRadio::TypeFieldName(row), kInfrared);
        r.form().setText(TformRadio::ButtonName(row), "Удалить");
    }
    ASSERT_TRUE(r.Write());
    EXPECT_EQ(r.Sent(), (std::vector<std::string>{"+z05=0541000", "+z06=0641000", "+l=0"}));
    EXPECT_TRUE(r.LogHas("Ошибка при записи настроек радиодатчиков!"));
    EXPECT_EQ(r.sim.state().at("z06"), "0641000");
}

TEST(RadioPagePty, EnrolmentEndsAsThePanelSaysAndAlwaysInWorkingMode)
{
    struct Case {
        const char* name;
        std::vector<std::string> options;
        std::vector<std::string> sent;
        const char* message;
        const char* button;
        std::function<void(const FormModel&)> check;
    };
    const Case cases[] = {
        {"found",
         {"--learn-result", "found", "--learn-type", "a"},
         {"+l=1", "+L01=01F1000", "+l=0"},
         "Радиодатчик №1 успешно найден",
         "OK",
         [](const FormModel& f) {
             EXPECT_EQ(f.text("btnAdd1"), "Удалить");
             EXPECT_EQ(f.get("lbN1").color, "clLime");
             EXPECT_EQ(f.text("etT1"), "Геркон CR2032");
             EXPECT_TRUE(f.enabled("cbR01"));
             EXPECT_EQ(f.index("cbZn01"), 0);
         }},
        {"absent",
         {"--learn-result", "absent"},
         {"+l=1", "+L01=01F1000", "+l=0"},
         "Радиодатчик №1 не найден",
         "Ok",
         [](const FormModel& f) {
             EXPECT_EQ(f.text("btnAdd1"), "Добавить");
             EXPECT_EQ(f.text("etT1"), "");
         }},
        {"known",
         {"--learn-result", "known:1A"},
         {"+l=1", "+L01=01F1000", "+l=0"},
         "Этот датчик уже есть в памяти панели под номером 26",
         "Отмена",
         [](const FormModel& f) {
             EXPECT_EQ(f.text("btnAdd1"), "Добавить");
             EXPECT_EQ(f.text("btnAdd26"), "Удалить");
             EXPECT_EQ(f.get("lbN26").color, "clLime");
         }},
        {"learn command refused",
         {"--reject", "+L"},
         {"+l=1", "+L01=01F1000", "+l=0"},
         "Ошибка при добавлении!",
         "Ok",
         [](const FormModel& f) { EXPECT_EQ(f.text("btnAdd1"), "Добавить"); }},
        {"learn mode refused",
         {"--reject", "+l=1"},
         {"+l=1", "+l=0"},
         "Ошибка при добавлении!",
         "Ok",
         [](const FormModel& f) { EXPECT_EQ(f.text("btnAdd1"), "Добавить"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RadioPage r(c.options);
        ASSERT_TRUE(r.connected);
        ASSERT_TRUE(r.Click(1));
        EXPECT_EQ(r.Sent(), c.sent);
        EXPECT_TRUE(r.dialog().Visible());
        EXPECT_EQ(r.dialog().Form().text("lbMessage"), c.message);
        EXPECT_EQ(r.dialog().Form().text("btnOKCancel"), c.button);
        c.check(r.form());
        EXPECT_TRUE(r.InWorkingMode());
        EXPECT_TRUE(r.form().enabled("btnAdd1"));
    }
}

TEST(RadioPagePty, ClosingTheDialogCancelsASearchThatNeverEnds)
{
    RadioPage r({"--learn-result", "silent"});
    ASSERT_TRUE(r.connected);
    ASSERT_TRUE(r.Run([&] {
        r.form().trigger("btnAdd3");
        ASSERT_TRUE(r.d.ServeUntil([&] { return r.sim.wireLog().find("+L03=") != std::string::npos; }, 10s));
        EXPECT_FALSE(r.form().enabled("btnAdd3"));  // locked while the search runs
        r.dialog().Form().trigger("btnOKCancel");    // "Отмена"
    }));
    EXPECT_FALSE(r.dialog().Visible());
    EXPECT_EQ(r.Sent(), (std::vector<std::string>{"+l=1", "+L03=03F1000", "+l=0"}));
    EXPECT_EQ(r.form().text("btnAdd3"), "Добавить");
    EXPECT_TRUE(r.InWorkingMode());
}

TEST(RadioPagePty, AdvancedEnrolmentSendsTheChosenAlarmPeriodFirst)
{
    RadioPage r;
    ASSERT_TRUE(r.connected);
    IniFile settings(std::filesystem::temp_directory_path() / "radio-pty-no-such-settings.ini");
    settings.WriteBool("formMessage", "advanceAdd", true);
    r.dialog().ApplyProgramSwitches(settings);
    FormModel& dialog = r.dialog().Form();

    r.form().trigger("btnAdd2");  // the dialog waits for the user's choice
    EXPECT_EQ(dialog.text("btnOKCancel"), "OK");
    EXPECT_TRUE(dialog.visible("RzPanel1"));
    EXPECT_EQ(r.d.session.Link()->Job(), 0);
    dialog.trigger("Button2");
    dialog.setText("Edit1", "10");
    ASSERT_TRUE(r.Run([&] { dialog.trigger("btnOKCancel"); }));
    EXPECT_EQ(r.Sent(), (std::vector<std::string>{"+Rn=14", "+l=1", "+L02=02F1000", "+l=0"}));
    EXPECT_EQ(r.sim.state().at("Rn"), "14");
    EXPECT_EQ(r.form().text("btnAdd2"), "Удалить");
}

TEST(RadioPagePty, DeleteAsksFirstThenFreesTheSlot)
{
    RadioPage r({"--set", "z03=0341000"});
    ASSERT_TRUE(r.connected);
    ASSERT_TRUE(r.Read());
    r.answerYes = false;
    ASSERT_TRUE(r.Click(3));
    EXPECT_EQ(r.questions, (std::vector<std::string>{"Вы уверены, что хотите удалить радиодатчик?"}));
    EXPECT_TRUE(r.Sent().empty());

    r.answerYes = true;
    ASSERT_TRUE(r.Click(3));
    EXPECT_EQ(r.Sent(), (std::vector<std::string>{"+z03=03FFFFF", "+l=0"}));
    EXPECT_EQ(r.sim.state().at("z03"), "03FFFFF");
    const FormModel& f = r.form();
    EXPECT_EQ(f.text("etT3"), "");
    EXPECT_EQ(f.text("btnAdd3"), "Добавить");
    EXPECT_EQ(f.get("lbN3").color, "clBtnFace");
    EXPECT_FALSE(f.enabled("cbR03"));
    EXPECT_TRUE(r.InWorkingMode());
}
