// The alarm panel: authorisation with the master key (OK, ERR, IGN after three wrong keys), nothing but the
// version before it, the connection facts and the settings store after it.
#include "EmulatedDevice.h"

#include <gtest/gtest.h>

#include <thread>

namespace nvx::test {
namespace {

TEST(DevSimPanel, AnswersOnlyVersionAndKeyUntilAuthorised)
{
    EmulatedDevice panel({"--device", "panel"});
    EXPECT_EQ(panel.ask("+v"), "+v\r14.10.45\r\nOK\r\n");
    EXPECT_EQ(panel.ask("+l"), "+l\rERR\r\n");
    EXPECT_EQ(panel.ask("+vp"), "+vp\rERR\r\n");
    EXPECT_EQ(panel.ask("+id=0000"), "+id=0000\rERR\r\n");
    EXPECT_EQ(panel.ask("+l"), "+l\rERR\r\n");
    EXPECT_EQ(panel.ask("+id=1234"), "+id=1234\rOK\r\n");
    EXPECT_EQ(panel.ask("+l"), "+l\r0\r\nOK\r\n");
}

TEST(DevSimPanel, IgnoresKeysForAWhileAfterThreeWrongOnes)
{
    EmulatedDevice panel({"--device", "panel", "--master-key", "0077", "--ign-seconds", "1"});
    EXPECT_EQ(panel.ask("+id=1234"), "+id=1234\rERR\r\n");
    EXPECT_EQ(panel.ask("+id=77"), "+id=77\rERR\r\n"); // not four digits: as wrong as any other key
    EXPECT_EQ(panel.ask("+id=0078"), "+id=0078\rERR\r\n");
    EXPECT_EQ(panel.ask("+id=0077"), "+id=0077\rIGN\r\n"); // even the right key is ignored now
    EXPECT_EQ(panel.ask("+l"), "+l\rERR\r\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(1300));
    EXPECT_EQ(panel.ask("+id=0077"), "+id=0077\rOK\r\n");
}

TEST(DevSimPanel, ARightKeyResetsTheCountOfWrongOnes)
{
    EmulatedDevice panel({"--device", "panel"});
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(panel.ask("+id=0001"), "+id=0001\rERR\r\n");
        EXPECT_EQ(panel.ask("+id=0002"), "+id=0002\rERR\r\n");
        EXPECT_EQ(panel.ask("+id=1234"), "+id=1234\rOK\r\n");
    }
}

TEST(DevSimPanel, AnswersConnectionFactsFromDefaultsOrOptions)
{
    struct Case {
        std::vector<std::string> options;
        const char* version;
        const char* mode;
        const char* processor;
        const char* boardSelector;
        const char* converter;
    };
    const Case cases[] = {
        {{}, "14.10.45", "0", "000000", "0", "0A0"},
        {{"--version", "14.10.29", "--mode", "3", "--vp", "00001", "--dk", "1", "--c1", "1FF"},
         "14.10.29",
         "3",
         "00001",
         "1",
         "1FF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        std::vector<std::string> options = {"--device", "panel"};
        options.insert(options.end(), c.options.begin(), c.options.end());
        EmulatedDevice panel(options);
        EXPECT_EQ(panel.ask("+v"), std::string("+v\r") + c.version + "\r\nOK\r\n");
        ASSERT_EQ(panel.ask("+id=1234"), "+id=1234\rOK\r\n");
        EXPECT_EQ(panel.ask("+l"), std::string("+l\r") + c.mode + "\r\nOK\r\n");
        EXPECT_EQ(panel.ask("+vp"), std::string("+vp\r") + c.processor + "\r\nOK\r\n");
        EXPECT_EQ(panel.ask("+dk"), std::string("+dk\r") + c.boardSelector + "\r\nOK\r\n");
        EXPECT_EQ(panel.ask("+c1"), std::string("+c1\r") + c.converter + "\r\nOK\r\n");
    }
}

TEST(DevSimPanel, StoreKeepsWrittenValuesAndRefusesUnknownQueries)
{
    EmulatedDevice panel({"--device", "panel", "--set", "Tel1=89161234567"});
    ASSERT_EQ(panel.ask("+id=1234"), "+id=1234\rOK\r\n");
    EXPECT_EQ(panel.ask("+Xq"), "+Xq\rERR\r\n");
    EXPECT_EQ(panel.ask("+Xq=05"), "+Xq=05\rOK\r\n");
    EXPECT_EQ(panel.ask("+Xq"), "+Xq\r05\r\nOK\r\n");
    EXPECT_EQ(panel.ask("+xq"), "+xq\rERR\r\n"); // mnemonics are case-sensitive
    EXPECT_EQ(panel.ask("+Tel1"), "+Tel1\r89161234567\r\nOK\r\n");
    const std::string alarmText = "\xD2\xF0\xE5\xE2\xEE\xE3\xE0 1"; // an SMS text as it travels, in cp1251
    EXPECT_EQ(panel.ask("+Sms=" + alarmText), "+Sms=" + alarmText + "\rOK\r\n");
    EXPECT_EQ(panel.ask("+Sms"), "+Sms\r" + alarmText + "\r\nOK\r\n");
    panel.process.control("set Xq 07");
    EXPECT_EQ(panel.ask("+Xq"), "+Xq\r07\r\nOK\r\n");

    const auto state = panel.process.state();
    EXPECT_EQ(state.at("Xq"), "07");
    EXPECT_EQ(state.at("Sms"), alarmText);
    EXPECT_EQ(state.at("l"), "0");
    EXPECT_EQ(state.count("id"), 0u);
}

TEST(DevSimPanel, ForgetsTheAuthorisationWhenThePortCloses)
{
    EmulatedDevice panel({"--device", "panel"});
    ASSERT_EQ(panel.ask("+id=1234"), "+id=1234\rOK\r\n");
    panel.port.close();
    ASSERT_TRUE(panel.process.awaitTrace("port closed", 1, kAnswerTimeout));
    PtyPort again(panel.process.portPath());
    again.send("+l\r");
    EXPECT_EQ(again.receiveUntilAny({"OK\r\n", "ERR\r\n"}, kAnswerTimeout), "+l\rERR\r\n");
}

} // namespace
} // namespace nvx::test
