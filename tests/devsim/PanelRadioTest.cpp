// The panel's radio devices: sensor and keyfob slots, the learn modes, the learn command's verdicts
// and when the panel refuses or forgets a search.
#include "EmulatedDevice.h"

#include <gtest/gtest.h>

namespace nvx::test {
namespace {

// An authorised panel whose learn verdict comes after 100 ms.
struct RadioPanel : EmulatedDevice {
    explicit RadioPanel(std::vector<std::string> options = {})
        : EmulatedDevice(WithPanel(std::move(options)))
    {
        ask("+id=1234");
    }
    // Sends a line and returns all that comes for it, its verdict included.
    std::string learn(const std::string& line)
    {
        port.send(line + "\r");
        return port.receiveFor(std::chrono::milliseconds(1000));
    }
    static std::vector<std::string> WithPanel(std::vector<std::string> options)
    {
        options.insert(options.begin(), {"--device", "panel", "--learn-delay-ms", "100"});
        return options;
    }
};

TEST(DevSimPanelRadio, SlotsStartFreeAndTakeOnlyTheirOwnRecords)
{
    RadioPanel panel;
    EXPECT_EQ(panel.ask("+z01"), "+z01\r01FFFFF\r\nOK\r\n");
    EXPECT_EQ(panel.ask("+z20"), "+z20\r20FFFFF\r\nOK\r\n");
    EXPECT_EQ(panel.ask("+b10"), "+b10\r10FF\r\nOK\r\n");
    EXPECT_EQ(panel.ask("+z05=0541000"), "+z05=0541000\rOK\r\n");
    EXPECT_EQ(panel.ask("+z05"), "+z05\r0541000\r\nOK\r\n");
    EXPECT_EQ(panel.ask("+b02=0205"), "+b02=0205\rOK\r\n");
    EXPECT_EQ(panel.process.state().at("b02"), "0205");
    for (const char* refused : {"+z05=0641000", "+z05=054100", "+z05=05410000", "+b02=0305", "+b02=02G5"})
        EXPECT_EQ(panel.ask(refused), std::string(refused) + "\rERR\r\n") << refused;
    EXPECT_EQ(panel.process.state().at("z05"), "0541000");
}

TEST(DevSimPanelRadio, LearnCommandsOnlyInTheirOwnMode)
{
    RadioPanel panel;
    EXPECT_EQ(panel.ask("+L01=01F1000"), "+L01=01F1000\rERR\r\n");  // working mode
    EXPECT_EQ(panel.ask("+l=3"), "+l=3\rOK\r\n");
    EXPECT_EQ(panel.process.state().at("l"), "3");
    EXPECT_EQ(panel.ask("+L01=01F1000"), "+L01=01F1000\rERR\r\n");  // a sensor while learning keyfobs
    EXPECT_EQ(panel.ask("+l=1"), "+l=1\rOK\r\n");
    EXPECT_EQ(panel.ask("+L03=0302"), "+L03=0302\rERR\r\n");        // a keyfob while learning sensors
    EXPECT_EQ(panel.ask("+l"), "+l\r1\r\nOK\r\n");
    EXPECT_EQ(panel.ask("+l=0"), "+l=0\rOK\r\n");
    EXPECT_EQ(panel.process.state().at("l"), "0");
}

TEST(DevSimPanelRadio, VerdictsOfTheLearnCommand)
{
    struct Case {
        std::vector<std::string> options;
        const char* mode;
        const char* command;
        const char* answer;
        const char* slot;
        const char* stored;
    };
    const Case cases[] = {
        {{"--learn-type", "a"}, "+l=1", "+L01=01F2000", "+L01=01F2000\rz01A2000\r\nOK\r\n", "z01", "01A2000"},
        {{}, "+l=3", "+L03=0302", "+L03=0302\rOK\r\n", "b03", "0302"},
        {{"--learn-result", "absent"}, "+l=1", "+L01=01F1000", "+L01=01F1000\rVER\r\nOK\r\n", "z01", "01FFFFF"},
        {{"--learn-result", "known:1A"}, "+l=1", "+L01=01F1000", "+L01=01F1000\r1ARESETADD\r\n", "z01", "01FFFFF"},
        {{"--learn-result", "silent"}, "+l=3", "+L03=0302", "+L03=0302\r", "b03", "03FF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        RadioPanel panel(c.options);
        panel.ask(c.mode);
        EXPECT_EQ(panel.learn(c.command), c.answer);
        EXPECT_EQ(panel.process.state().at(c.slot), c.stored);
        EXPECT_EQ(panel.process.state().at("l"), std::string(c.mode).substr(3));  // until +l=0
    }
}

TEST(DevSimPanelRadio, LeavingTheLearnModeEndsTheSearch)
{
    RadioPanel panel({"--learn-delay-ms", "300"});
    panel.ask("+l=1");
    panel.port.send("+L02=02F1000\r+l=0\r");
    EXPECT_EQ(panel.port.receiveFor(std::chrono::milliseconds(900)), "+L02=02F1000\r+l=0\rOK\r\n");
    EXPECT_EQ(panel.process.state().at("z02"), "02FFFFF");
}

TEST(DevSimPanelRadio, AlarmPeriodIsKeptWithoutAnAnswer)
{
    RadioPanel panel;
    EXPECT_EQ(panel.learn("+Rn=0A"), "+Rn=0A\r");
    EXPECT_EQ(panel.process.state().at("Rn"), "0A");
}

}  // namespace
}  // namespace nvx::test
