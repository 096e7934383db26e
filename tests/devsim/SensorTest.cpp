// The motion sensor: version and parameter queries with echo, value and OK; parameter writes kept (and
// shown in the state file) or refused with ERR.
#include "EmulatedDevice.h"

#include <gtest/gtest.h>

namespace nvx::test {
namespace {

TEST(DevSimSensor, AnswersQueriesWithEchoValueAndOk)
{
    EmulatedDevice sensor({});
    EXPECT_EQ(sensor.ask("+v"), "+v\r14.3.40\r\nOK\r\n");
    EXPECT_EQ(sensor.ask("+pAVCP"), "+pAVCP\r0607061403\r\nOK\r\n");
}

TEST(DevSimSensor, StartsPetImmuneWithItsOwnVersionWhenAsked)
{
    EmulatedDevice sensor({"--pet-immune", "--version", "1.001.2"});
    EXPECT_EQ(sensor.ask("+v"), "+v\r1.001.2\r\nOK\r\n");
    EXPECT_EQ(sensor.ask("+pAVCP"), "+pAVCP\r1114061E03\r\nOK\r\n");
}

TEST(DevSimSensor, KeepsWellFormedParameterWritesAndRefusesTheRest)
{
    struct Case {
        const char* command;
        const char* reply; // after the echo
        const char* parameter;
        const char* heldAfterwards;
    };
    const Case cases[] = {
        {"+pA=11", "OK\r\n", "A", "11"},
        {"+pV=14", "OK\r\n", "V", "14"},
        {"+pC=061E", "OK\r\n", "C", "061E"},
        {"+pP=0f", "OK\r\n", "P", "0f"}, // kept as sent, so a test sees the case the program used
        {"+pC=12", "ERR\r\n", "C", "061E"},
        {"+pC=061E0", "ERR\r\n", "C", "061E"},
        {"+pA=1G", "ERR\r\n", "A", "11"},
        {"+pA=", "ERR\r\n", "A", "11"},
        {"+pV=144", "ERR\r\n", "V", "14"},
        {"+pX=11", "ERR\r\n", "A", "11"},
        {"+pA", "ERR\r\n", "A", "11"},
        {"+id=1234", "ERR\r\n", "A", "11"},
        {"pA=06", "ERR\r\n", "A", "11"},
    };
    EmulatedDevice sensor({});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        EXPECT_EQ(sensor.ask(c.command), std::string(c.command) + "\r" + c.reply);
        EXPECT_EQ(sensor.process.state()[c.parameter], c.heldAfterwards);
    }
    EXPECT_EQ(sensor.ask("+pAVCP"), "+pAVCP\r1114061E0f\r\nOK\r\n");
    const std::map<std::string, std::string> expected = {
        {"A", "11"}, {"V", "14"}, {"C", "061E"}, {"P", "0f"}};
    EXPECT_EQ(sensor.process.state(), expected);
}

TEST(DevSimSensor, ControlChannelSetsParametersWithTheSameChecks)
{
    EmulatedDevice sensor({});
    sensor.process.control("set A 11");
    sensor.process.control("set C 12"); // wrong width: refused
    EXPECT_EQ(sensor.ask("+pAVCP"), "+pAVCP\r1107061403\r\nOK\r\n");
    EXPECT_EQ(sensor.process.state()["A"], "11");
}

} // namespace
} // namespace nvx::test
