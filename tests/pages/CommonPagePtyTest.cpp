// The general page end to end: the shell, the link and the page against the emulated panel on a
// pty, checking the commands on the wire and what the page shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <regex>

#include "PanelPageDriver.h"
#include "device/PageDirectory.h"
#include "pages/f_common.h"

using namespace nvx;
using namespace nvx::test;
using namespace std::chrono_literals;

namespace {

constexpr const char* kReadError = "Ошибка при чтении общих настроек!";
constexpr const char* kWriteError = "Ошибка при записи общих настроек!";
constexpr const char* kBlue = "clBlue";
constexpr const char* kRed = "clRed";

const std::vector<std::string> kOutputLabels{"lbAuto", "lbAT", "lbBothOff", "lbFOn", "lbSOn", "lbBothOn"};
const std::vector<std::string> kAlarmLabels{"lbAlarmBtnOn", "lbAlarmBtnOff", "lbAlarmBtnOn4"};
const std::vector<std::string> kBuzzer{"RadioButton1", "RadioButton2"};

// The program connected to an emulated panel, showing the general page.
class GeneralPage : public PanelPageDriver<TformCommon> {
public:
    explicit GeneralPage(const std::vector<std::string>& arguments = {})
        : PanelPageDriver(page_id::kGeneral, arguments)
    {
        Open();
    }

    std::string colour(const std::string& name) { return form().get(name).fontColor; }
    bool Press(const char* button) { return Run([this, button] { form().trigger(button); }); }
    bool SentAny(const std::string& prefix) const { return !SentStartingWith({prefix}).empty(); }
};

// Seconds of the day of a clock text "HH:MM:SS DD/MM/YY".
int SecondOfDay(const std::string& clock)
{
    return std::atoi(clock.substr(0, 2).c_str()) * 3600 + std::atoi(clock.substr(3, 2).c_str()) * 60 +
           std::atoi(clock.substr(6, 2).c_str());
}

const std::regex kClockText(R"(\d\d:\d\d:\d\d \d\d/\d\d/\d\d)");

}  // namespace

TEST(CommonPagePty, ReadFillsEveryFieldFromThePanelAndMarksItBlue)
{
    GeneralPage g({"--set", "o=1A2B", "--set", "AQ=1F,02", "--set", "e=12", "--set", "C=2", "--set", "yt=10",
                   "--set", "n=8F", "--set", "db=0"});
    ASSERT_TRUE(g.connected) << g.d.session.Splash().text("Panel2");
    g.form().setText("etKey", "FFFF");
    ASSERT_TRUE(g.Read());

    EXPECT_EQ(g.Sent(), (std::vector<std::string>{"+o", "+AC", "+FMR", "+AQ", "+e", "+C", "+yt", "+n", "+db"}));
    const FormModel& f = g.form();
    EXPECT_EQ(f.text("etO"), "1A2B");
    EXPECT_TRUE(std::regex_match(f.text("etTime"), kClockText)) << f.text("etTime");
    EXPECT_EQ(f.text("etKey"), "1234");
    EXPECT_EQ(f.text("etSignal"), "31");
    EXPECT_EQ(f.get("PSignal").value, 31);
    EXPECT_EQ(f.text("etError"), "2");
    EXPECT_EQ(f.get("PEr").value, 2);
    EXPECT_TRUE(f.checked("rbAT"));
    EXPECT_TRUE(f.checked("rbSOn"));
    EXPECT_TRUE(f.enabled("RzGroupBox4"));
    EXPECT_TRUE(f.checked("rbAlarmBtnOn4"));
    EXPECT_TRUE(f.checked("cbSyr"));
    EXPECT_FALSE(f.checked("cbSyrB"));
    EXPECT_TRUE(f.checked("CheckBox1"));
    EXPECT_EQ(f.text("RzComboBox1"), "15 мин");
    EXPECT_TRUE(f.enabled("RzComboBox1"));
    EXPECT_TRUE(f.checked("RadioButton2"));

    std::vector<std::string> marked{"lbO", "lbetTime", "lbKey", "lSignal", "lbSyr", "CheckBox1"};
    for (const auto* group : {&kOutputLabels, &kAlarmLabels, &kBuzzer})
        marked.insert(marked.end(), group->begin(), group->end());
    for (const std::string& name : marked)
        EXPECT_EQ(g.colour(name), kBlue) << name;
    EXPECT_EQ(g.LogCount(kReadError), 0);
}

TEST(CommonPagePty, ReadShowsWhatEachPanelValueMeans)
{
    struct Case {
        const char* control;  // emulator command that changes the panel's value
        std::function<void(const FormModel&)> check;
    };
    const Case cases[] = {
        {"set AQ 63,63",
         [](const FormModel& f) {
             EXPECT_EQ(f.text("etSignal"), "99");
             EXPECT_EQ(f.get("PSignal").value, 0);
             EXPECT_EQ(f.text("etError"), "7");
             EXPECT_EQ(f.get("PEr").value, 7);
         }},
        {"set n 45",
         [](const FormModel& f) {
             EXPECT_FALSE(f.checked("CheckBox1"));
             EXPECT_EQ(f.index("RzComboBox1"), 0);
             EXPECT_FALSE(f.enabled("RzComboBox1"));
         }},
        {"set n CA",
         [](const FormModel& f) {
             EXPECT_TRUE(f.checked("CheckBox1"));
             EXPECT_EQ(f.text("RzComboBox1"), "10 мин");
         }},
        {"set n 50",  // 16 minutes: no such item
         [](const FormModel& f) {
             EXPECT_EQ(f.index("RzComboBox1"), -1);
             EXPECT_EQ(f.text("RzComboBox1"), "");
         }},
        {"set e 03",
         [](const FormModel& f) {
             EXPECT_TRUE(f.checked("rbAuto"));
             EXPECT_TRUE(f.checked("rbBothOn"));
             EXPECT_FALSE(f.enabled("RzGroupBox4"));
         }},
        {"set C 1", [](const FormModel& f) { EXPECT_TRUE(f.checked("rbAlarmBtnOff")); }},
        {"set yt 01",
         [](const FormModel& f) {
             EXPECT_FALSE(f.checked("cbSyr"));
             EXPECT_TRUE(f.checked("cbSyrB"));
         }},
        {"set db 01", [](const FormModel& f) { EXPECT_TRUE(f.checked("RadioButton1")); }},
        {"set db 2", [](const FormModel& f) { EXPECT_TRUE(f.checked("RadioButton2")); }},
    };
    GeneralPage g;
    ASSERT_TRUE(g.connected);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        g.sim.control(c.control);
        ASSERT_TRUE(g.Read());
        c.check(g.form());
        EXPECT_EQ(g.LogCount(kReadError), 0);
    }
}

TEST(CommonPagePty, RefusedOrMalformedValuesTurnRedReportAndLeaveTheirFields)
{
    using Kept = std::function<bool(const FormModel&)>;
    const Kept objectNumber = [](const FormModel& f) { return f.text("etO") == "BEEF"; };
    const Kept signal = [](const FormModel& f) { return f.text("etSignal") == "-"; };
    const Kept outputs = [](const FormModel& f) { return f.checked("rbAT") && f.checked("rbFOn"); };
    const Kept alarm = [](const FormModel& f) { return f.checked("rbAlarmBtnOff"); };
    const Kept siren = [](const FormModel& f) { return f.checked("cbSyr"); };
    const Kept lock = [](const FormModel& f) { return f.checked("CheckBox1"); };
    const Kept buzzer = [](const FormModel& f) { return f.checked("RadioButton2"); };
    struct Case {
        const char* fault;  // emulator command before the read
        const char* undo;   // and after it
        std::vector<std::string> red;
        Kept kept;        // the failing step's part of what the page showed
        bool readGoesOn;  // the buzzer is still read
    };
    const Case cases[] = {
        {"reject +o", "unreject +o", {"lbO"}, objectNumber, true},
        {"reject +AQ", "unreject +AQ", {"lSignal"}, signal, true},
        {"set AQ 1F", "set AQ 14,00", {"lSignal"}, signal, true},
        {"reject +e", "unreject +e", kOutputLabels, outputs, true},
        {"set e 7", "set e 00", kOutputLabels, outputs, true},
        {"reject +C", "unreject +C", kAlarmLabels, alarm, true},
        {"reject +yt", "unreject +yt", {"lbSyr"}, siren, true},
        {"reject +n", "unreject +n", {"CheckBox1"}, lock, false},
        {"set n ZZ", "set n 45", {"CheckBox1"}, lock, false},
        {"set n", "set n 45", {"CheckBox1"}, lock, false},
        {"set db", "set db 1", kBuzzer, buzzer, true},
        {"reject +db", "unreject +db", kBuzzer, buzzer, true},
    };
    GeneralPage g;
    ASSERT_TRUE(g.connected);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        // What the page showed before: the failing step must leave its part of it.
        FormModel& f = g.form();
        f.setText("etO", "BEEF");
        f.setText("etSignal", "-");
        f.checkRadio("rbAT");
        f.trigger("rbAT");
        f.checkRadio("rbFOn");
        f.checkRadio("rbAlarmBtnOff");
        f.setChecked("cbSyr", true);
        f.setChecked("CheckBox1", true);
        f.checkRadio("RadioButton2");
        g.sim.control(c.fault);
        ASSERT_TRUE(g.Read());
        g.sim.control(c.undo);

        for (const std::string& name : c.red)
            EXPECT_EQ(g.colour(name), kRed) << name;
        EXPECT_EQ(g.LogCount(kReadError), 1);
        EXPECT_EQ(g.SentAny("+db"), c.readGoesOn);
        EXPECT_EQ(f.text("etO"), c.red.front() == "lbO" ? "BEEF" : "0050");
        EXPECT_EQ(g.colour("lbKey"), kBlue);  // the other steps are read as usual
        EXPECT_EQ(f.text("etKey"), "1234");
        EXPECT_TRUE(c.kept(f));
        if (!c.readGoesOn) {
            EXPECT_TRUE(buzzer(f));  // the read ended before the buzzer
        }
    }
}

TEST(CommonPagePty, WriteSendsTheValuesInOrderAndMarksThemBlue)
{
    struct Case {
        const char* name;
        std::function<void(FormModel&)> edit;
        std::vector<std::string> sent;
        const char* objectNumberShown;
    };
    const Case cases[] = {
        {"defaults", [](FormModel&) {},
         {"+o=0050", "+FMW=1234", "+e=00", "+C=0", "+yt=00", "+n=45", "+dw=0", "+db=01"}, "0050"},
        {"everything changed",
         [](FormModel& f) {
             f.setText("etO", "5");
             f.setText("etKey", "AB");
             f.checkRadio("rbAT");
             f.trigger("rbAT");
             f.checkRadio("rbSOn");
             f.checkRadio("rbAlarmBtnOn4");
             f.setChecked("cbSyr", true);
             f.setChecked("CheckBox1", true);
             f.setChecked("adelay", true);
             f.checkRadio("RadioButton2");
         },
         {"+o=0005", "+FMW=34AB", "+e=12", "+C=2", "+yt=10", "+n=C5", "+dw=1", "+db=00"}, "0005"},
        {"other choices",
         [](FormModel& f) {
             f.setText("etO", "0");
             f.setText("etKey", "4321");
             f.checkRadio("rbAT");
             f.trigger("rbAT");
             f.checkRadio("rbBothOn");
             f.checkRadio("rbAlarmBtnOff");
             f.setChecked("cbSyrB", true);
             f.setIndex("RzComboBox1", 5);
         },
         {"+o=0050", "+FMW=4321", "+e=13", "+C=1", "+yt=01", "+n=4A", "+dw=0", "+db=01"}, "0050"},
    };
    GeneralPage g;
    ASSERT_TRUE(g.connected);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g.page().SetDefaults();
        c.edit(g.form());
        ASSERT_TRUE(g.Write());
        EXPECT_EQ(g.Sent(), c.sent);
        EXPECT_EQ(g.form().text("etO"), c.objectNumberShown);
        std::vector<std::string> marked{"lbO", "lbKey", "lbSyr"};
        marked.insert(marked.end(), kOutputLabels.begin(), kOutputLabels.end());
        marked.insert(marked.end(), kAlarmLabels.begin(), kAlarmLabels.end());
        for (const std::string& name : marked)
            EXPECT_EQ(g.colour(name), kBlue) << name;
        EXPECT_EQ(g.LogCount(kWriteError), 0);
    }
    EXPECT_EQ(g.sim.state().at("o"), "0050");
    EXPECT_EQ(g.sim.state().at("n"), "4A");
}

TEST(CommonPagePty, WriteFailuresTurnRedAndReport)
{
    struct Case {
        const char* fault;  // emulator command, or empty
        const char* undo;
        std::function<void(FormModel&)> edit;
        std::vector<std::string> red;
        const char* lastSent;
    };
    const Case cases[] = {
        {"reject +o=", "unreject +o=", [](FormModel&) {}, {"lbO"}, "+db=01"},
        {"reject +FMW=", "unreject +FMW=", [](FormModel&) {}, {"lbKey"}, "+db=01"},
        {"reject +e=", "unreject +e=", [](FormModel&) {}, kOutputLabels, "+db=01"},
        {"reject +yt=", "unreject +yt=", [](FormModel&) {}, {"lbSyr"}, "+db=01"},
        {"reject +db=", "unreject +db=", [](FormModel&) {}, {}, "+db=01"},
        // No lock time chosen (the panel had one the list does not offer): the write stops there.
        {"", "", [](FormModel& f) { f.setIndex("RzComboBox1", -1); }, {}, "+yt=00"},
    };
    GeneralPage g;
    ASSERT_TRUE(g.connected);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.red.empty() ? c.fault : c.red.front());
        g.page().SetDefaults();
        c.edit(g.form());
        if (*c.fault)
            g.sim.control(c.fault);
        ASSERT_TRUE(g.Write());
        if (*c.undo)
            g.sim.control(c.undo);
        ASSERT_FALSE(g.Sent().empty());
        EXPECT_EQ(g.Sent().back(), c.lastSent);
        for (const std::string& name : c.red)
            EXPECT_EQ(g.colour(name), kRed) << name;
        if (c.red != std::vector<std::string>{"lbO"}) {
            EXPECT_EQ(g.colour("lbO"), kBlue);
        }
        EXPECT_EQ(g.LogCount(kWriteError), 1);
    }
}

TEST(CommonPagePty, ArmingDelayIsWrittenOnlyAfterFirmware27)
{
    const std::pair<const char*, bool> cases[] = {{"14.10.27", false}, {"14.10.28", true}, {"14.10.45", true}};
    for (auto [version, sendsDelay] : cases) {
        SCOPED_TRACE(version);
        GeneralPage g({"--version", version});
        ASSERT_TRUE(g.connected);
        ASSERT_TRUE(g.Write());
        EXPECT_EQ(g.SentAny("+dw="), sendsDelay);
        EXPECT_EQ(g.Sent().back(), "+db=01");
    }
}

TEST(CommonPagePty, ClockSynchronisationSendsTheComputerTimeAndShowsIt)
{
    GeneralPage g;
    ASSERT_TRUE(g.connected);
    for (bool refused : {false, true}) {
        SCOPED_TRACE(refused ? "refused" : "taken");
        if (refused)
            g.sim.control("reject +AS=");
        ASSERT_TRUE(g.Press("btnSync"));
        const std::vector<std::string> sent = g.Sent();
        ASSERT_FALSE(sent.empty());
        const std::string clock = sent.front().substr(4);
        EXPECT_EQ(sent.front().substr(0, 4), "+AS=");
        EXPECT_TRUE(std::regex_match(clock, kClockText)) << clock;
        EXPECT_EQ(g.form().text("etTime"), clock);
        EXPECT_EQ(g.colour("lbetTime"), refused ? kRed : kBlue);
        if (refused)
            continue;
        // The panel now runs on that time.
        ASSERT_TRUE(g.Read());
        const std::string shown = g.form().text("etTime");
        EXPECT_EQ(shown.substr(9), clock.substr(9));
        EXPECT_LE(std::abs(SecondOfDay(shown) - SecondOfDay(clock)), 3) << shown << " / " << clock;
    }
}

TEST(CommonPagePty, PanelButtonsSendTheirCommands)
{
    struct Case {
        const char* button;
        std::vector<std::string> firstSent;
        const char* logged;
    };
    const Case cases[] = {
        {"btnStart", {"+qt"}, "com<-+qt"},
        {"btLamptest", {"+t"}, "+t"},
        {"btnStop", {"[", "[", "[", "+sp"}, "+sp"},
    };
    GeneralPage g;
    ASSERT_TRUE(g.connected);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        ASSERT_TRUE(g.Press(c.button));
        const std::vector<std::string> sent = g.Sent();
        ASSERT_GE(sent.size(), c.firstSent.size());
        EXPECT_TRUE(std::equal(c.firstSent.begin(), c.firstSent.end(), sent.begin()));
        for (std::size_t i = c.firstSent.size(); i < sent.size(); ++i)
            EXPECT_EQ(sent[i], "+sp");  // the stop asks again until the panel answers nothing else
        EXPECT_GE(g.LogCount(c.logged), 1);
        EXPECT_TRUE(g.d.session.LinkExists());
    }
    // The panel still answers afterwards.
    ASSERT_TRUE(g.Read());
    EXPECT_EQ(g.LogCount(kReadError), 0);
}

TEST(CommonPagePty, StopGivesUpOnAPanelThatRefusesIt)
{
    GeneralPage g({"--reject", "+sp"});
    ASSERT_TRUE(g.connected);
    ASSERT_TRUE(g.Press("btnStop"));
    const std::vector<std::string> sent = g.Sent();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "+sp"), 10);
    EXPECT_TRUE(g.d.session.LinkExists());
}

TEST(CommonPagePty, RestartEndsTheLinkAndConnectsAgain)
{
    GeneralPage g;
    ASSERT_TRUE(g.connected);
    int connects = 0;
    g.d.session.MainForm().setAction("tbtnConnect", [&] { ++connects; });
    ASSERT_TRUE(g.Press("btnReboot"));
    EXPECT_FALSE(g.d.session.LinkExists());
    EXPECT_EQ(g.Sent(), std::vector<std::string>{"+rb"});
    EXPECT_EQ(connects, 1);

    // The panel restarted and wants the key again, which the new connection gives it.
    g.d.connected = false;
    ASSERT_TRUE(g.d.Connect(g.sim.portPath()));
    ASSERT_TRUE(g.Read());
    EXPECT_EQ(g.LogCount(kReadError), 0);
    EXPECT_EQ(connects, 1);
}
