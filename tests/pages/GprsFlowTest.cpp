// The GPRS page against the panel emulator: what a read shows, what a write sends (texts in
// CP1251 on the wire), and what a refused or garbled answer or an incomplete password does.
#include <gtest/gtest.h>

#include <map>

#include "WaysGprsPanel.h"
#include "core/Codec.h"
#include "device/PageDirectory.h"

using namespace nvx;
using namespace nvx::test;

namespace {

constexpr const char* kReadError = "Ошибка при чтении настроек GPRS!";
constexpr const char* kWriteError = "Ошибка при записи настроек GPRS!";
constexpr const char* kSwitchError = "Ошибка при расшифровке активных SIM!";
constexpr const char* kPauseError = "Ошибка при разборе ответа на запрос таймаута GPRS!";

const char* const kReadOrder = "+GA\r+GC\r+GN\r+GU\r+GP\r+GS0\r+GI0\r+GG0\r+GS1\r+GG1\r+GI1\r+GT\r+P\r";

const char* const kTextLabels[] = {"lbetSIM1Phone", "lbetSIM1ADDR", "lbetSIM1LOGIN", "lbetSIM1PSWD",
                                   "lbetSIM1IP",    "lbetSIM1Port", "lbetSIM1SPSWD", "lbServerAddr2",
                                   "lbServerPort2", "lbServerPswd2"};

void Fill(FormModel& form, const std::map<std::string, std::string>& texts)
{
    for (const auto& [edit, text] : texts)
        form.setText(edit, text);
}

const std::map<std::string, std::string> kComplete{
    {"etSIM1Phone", "*99***1#"},   {"etSIM1ADDR", "точка.доступа"}, {"etSIM1LOGIN", "пользователь"},
    {"etSIM1PSWD", "пароль"},      {"etSIM1IP", "10.0.0.1"},        {"etSIM1Port", "3058"},
    {"etSIM1SPSWD", "ABCD1234"},   {"etServerAddr2", "10.0.0.2"},   {"etServerPort2", "40000"},
    {"etServerPswd2", "WXYZ9876"},
};

} // namespace

TEST(GprsFlow, ReadShowsWhatThePanelHoldsAndMarksItConfirmed)
{
    PanelPage p(page_id::kGprs, Presets({{"GA", "1"},
                                         {"GC", "*99#"},
                                         {"GN", ToCp1251("точка.доступа")},
                                         {"GU", ToCp1251("пользователь")},
                                         {"GP", "secret"},
                                         {"GS0", "10.0.0.1"},
                                         {"GI0", "ABCD1234"},
                                         {"GG0", "3058"},
                                         {"GS1", "10.0.0.2"},
                                         {"GG1", "40000"},
                                         {"GI1", "WXYZ9876"},
                                         {"GT", "0800"},
                                         {"P", "1"}}));
    ASSERT_TRUE(p.Ready());
    ASSERT_TRUE(p.Read());
    EXPECT_EQ(p.Sent(), kReadOrder);
    const std::map<std::string, std::string> shown{
        {"etSIM1Phone", "*99#"},       {"etSIM1ADDR", "точка.доступа"}, {"etSIM1LOGIN", "пользователь"},
        {"etSIM1PSWD", "secret"},      {"etSIM1IP", "10.0.0.1"},        {"etSIM1Port", "3058"},
        {"etSIM1SPSWD", "ABCD1234"},   {"etServerAddr2", "10.0.0.2"},   {"etServerPort2", "40000"},
        {"etServerPswd2", "WXYZ9876"},
    };
    for (const auto& [edit, text] : shown)
        EXPECT_EQ(p.Form().text(edit), text) << edit;
    EXPECT_TRUE(p.Form().checked("cb11"));
    EXPECT_EQ(p.Form().text("cbTime"), "8 минут");
    EXPECT_TRUE(p.Form().checked("cbP"));
    for (const char* label : kTextLabels)
        EXPECT_EQ(p.Colour(label), "clBlue") << label;
    for (const char* label : {"lbcb11", "lbGPRSTimeOut", "lbP"})
        EXPECT_EQ(p.Colour(label), "clBlue") << label;
    EXPECT_FALSE(p.Driver().LogHas("Ошибка")) << p.Log();
}

TEST(GprsFlow, RefusedOrGarbledAnswersAreReportedAndLeaveTheirFieldsAlone)
{
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        const char* message;
        const char* failedLabel;
    };
    const Case cases[] = {
        {"refused access point", {"--reject", "+GN"}, kReadError, "lbetSIM1ADDR"},
        {"refused switch", {"--reject", "+GA"}, kSwitchError, "lbcb11"},
        {"garbled switch", {"--set", "GA=Q"}, kSwitchError, "lbcb11"},
        {"garbled pause", {"--set", "GT=XX00"}, kPauseError, "lbGPRSTimeOut"},
        {"pause the list does not offer", {"--set", "GT=1500"}, kPauseError, "lbGPRSTimeOut"},
        {"refused compression", {"--reject", "+P"}, kReadError, "lbP"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PanelPage p(page_id::kGprs, c.arguments);
        ASSERT_TRUE(p.Ready());
        p.Form().setIndex("cbTime", 2); // a read alone keeps the list's choice when the pause fails
        ASSERT_TRUE(p.Read());
        EXPECT_TRUE(p.Driver().LogHas(c.message)) << p.Log();
        EXPECT_EQ(p.Colour(c.failedLabel), "clRed");
        EXPECT_EQ(p.Sent(), kReadOrder); // the other settings are still read
        EXPECT_EQ(p.Form().text("etSIM1ADDR"),
                  c.failedLabel == std::string("lbetSIM1ADDR") ? "" : "internet");
        EXPECT_EQ(p.Form().text("etSIM1Port"), "3058");
        EXPECT_EQ(p.Form().index("cbTime"), c.failedLabel == std::string("lbGPRSTimeOut") ? 2 : 0);
        EXPECT_EQ(p.Colour("lbetSIM1Port"), "clBlue");
    }
}

TEST(GprsFlow, WriteSendsEveryFieldInOrderWithTextsInCp1251OnAnyFirmware)
{
    for (const char* version : {"14.10.20", "14.10.60"}) {
        SCOPED_TRACE(version);
        PanelPage p(page_id::kGprs, {"--version", version});
        ASSERT_TRUE(p.Ready());
        Fill(p.Form(), kComplete);
        p.Form().setChecked("cb11", true);
        p.Form().setIndex("cbTime", 5);
        p.Form().setChecked("cbP", true);
        ASSERT_TRUE(p.Write());
        EXPECT_EQ(p.Sent(), ToCp1251("+GA=1\r+GC=*99***1#\r+GN=точка.доступа\r+GU=пользователь\r+GP=пароль\r"
                                     "+GS0=10.0.0.1\r+GG0=3058\r+GI0=ABCD1234\r+GS1=10.0.0.2\r+GG1=40000\r"
                                     "+GI1=WXYZ9876\r+GT=1000\r+P=1\r"));
        for (const char* label : kTextLabels)
            EXPECT_EQ(p.Colour(label), "clBlue") << label;
        for (const char* label : {"lbcb11", "lbGPRSTimeOut", "lbP"})
            EXPECT_EQ(p.Colour(label), "clBlue") << label;
        EXPECT_FALSE(p.Driver().LogHas(kWriteError)) << p.Log();
    }
}

TEST(GprsFlow, EmptyFieldsAreSentAsFilledAndShownSo)
{
    PanelPage p(page_id::kGprs, {});
    ASSERT_TRUE(p.Ready());
    Fill(p.Form(), {{"etSIM1IP", "10.0.0.1"},
                    {"etSIM1Port", "4000"},
                    {"etSIM1SPSWD", "ABCD1234"},
                    {"etServerPswd2", "WXYZ9876"}});
    p.Form().setIndex("cbTime", -1); // no pause chosen: the first one is sent, not "0400"
    ASSERT_TRUE(p.Write());
    EXPECT_EQ(p.Sent(), "+GA=0\r+GC=*99#\r+GN=internet\r+GU=gprs\r+GP=gprs\r+GS0=10.0.0.1\r+GG0=4000\r"
                        "+GI0=ABCD1234\r+GS1=10.0.0.1\r+GG1=4000\r+GI1=WXYZ9876\r+GT=0500\r+P=0\r");
    EXPECT_EQ(p.Form().text("etServerAddr2"), "10.0.0.1");
    EXPECT_EQ(p.Form().text("etSIM1ADDR"), "internet");
}

TEST(GprsFlow, AnIncompletePasswordBlocksTheWholeWrite)
{
    struct Case {
        const char* edit;
        const char* marked;
    };
    for (const Case& c : {Case{"etSIM1SPSWD", "lbetSIM1SPSWD"}, Case{"etServerPswd2", "etServerPswd2"}}) {
        SCOPED_TRACE(c.edit);
        PanelPage p(page_id::kGprs, {});
        ASSERT_TRUE(p.Ready());
        Fill(p.Form(), kComplete);
        p.Form().setText(c.edit, "ABC1234");
        ASSERT_TRUE(p.Write());
        EXPECT_EQ(p.Sent(), "");
        EXPECT_EQ(p.Colour(c.marked), "clRed");
    }
}

TEST(GprsFlow, ARefusedWriteIsMarkedAndReportedAndTheRestIsSent)
{
    PanelPage p(page_id::kGprs, {"--reject", "+GN="});
    ASSERT_TRUE(p.Ready());
    Fill(p.Form(), kComplete);
    ASSERT_TRUE(p.Write());
    EXPECT_EQ(p.Colour("lbetSIM1ADDR"), "clRed");
    EXPECT_EQ(p.Colour("lbetSIM1LOGIN"), "clBlue");
    EXPECT_NE(p.Sent().find("+P=0\r"), std::string::npos);
    EXPECT_TRUE(p.Driver().LogHas(kWriteError)) << p.Log();
}
