// The fault switches, from the command line and through the control channel: deafness, rejection, a
// dropped line, line noise and unsolicited event lines.
#include "EmulatedDevice.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

namespace nvx::test {
namespace {

using std::chrono::milliseconds;

TEST(DevSimFaults, CommandLineSwitchesSilenceOrRejectCommandsByPrefix)
{
    EmulatedDevice sensor({"--no-answer", "+pAVCP", "--reject", "+pA="});
    sensor.port.send("+pAVCP\r");
    EXPECT_EQ(sensor.port.receiveFor(kSilence), ""); // not even the echo
    EXPECT_EQ(sensor.ask("+pA=11"), "+pA=11\rERR\r\n");
    EXPECT_EQ(sensor.process.state()["A"], "06");
    EXPECT_EQ(sensor.ask("+pV=14"), "+pV=14\rOK\r\n");
    EXPECT_EQ(sensor.ask("+v"), "+v\r14.3.40\r\nOK\r\n");
}

TEST(DevSimFaults, ControlChannelTurnsSwitchesOnAndOff)
{
    struct Step {
        const char* control; // nullptr: none
        const char* answerToVersion;
    };
    const Step steps[] = {
        {"reject +v", "+v\rERR\r\n"},
        {"unreject +v", "+v\r14.3.40\r\nOK\r\n"},
        {"noanswer +", ""},
        {"answer +", "+v\r14.3.40\r\nOK\r\n"},
        {"drop", "\r\nNO CARRIER\r\n"}, // said once, then nothing more
        {nullptr, ""},
        {"revive", "+v\r14.3.40\r\nOK\r\n"},
        {"no such command", "+v\r14.3.40\r\nOK\r\n"},
    };
    EmulatedDevice sensor({});
    for (const Step& step : steps) {
        SCOPED_TRACE(step.control ? step.control : "(none)");
        if (step.control)
            sensor.process.control(step.control);
        sensor.port.send("+v\r");
        EXPECT_EQ(ReceiveThenSilence(sensor.port, step.answerToVersion), step.answerToVersion);
    }
}

TEST(DevSimFaults, DropsTheLineAfterTheGivenNumberOfAnswers)
{
    EmulatedDevice sensor({"--drop-after", "2"});
    EXPECT_EQ(sensor.ask("+v"), "+v\r14.3.40\r\nOK\r\n");
    EXPECT_EQ(sensor.ask("+x"), "+x\rERR\r\n"); // a refusal is an answer too
    EXPECT_EQ(sensor.port.receiveUntil("NO CARRIER\r\n", kAnswerTimeout), "\r\nNO CARRIER\r\n");
    sensor.port.send("+v\r");
    EXPECT_EQ(sensor.port.receiveFor(kSilence), "");
    sensor.process.control("revive");
    EXPECT_EQ(sensor.ask("+v"), "+v\r14.3.40\r\nOK\r\n");
    EXPECT_EQ(sensor.ask("+v"), "+v\r14.3.40\r\nOK\r\n"); // the switch drops the line once
}

TEST(DevSimFaults, DropBehindAModemIsTheModemLosingTheCarrier)
{
    EmulatedDevice line({"--modem", "--cpin-ms", "0", "--dial-ms", "20"});
    line.port.receiveUntil("READY\r\n", kAnswerTimeout);
    line.port.send("ATD 5551234\r");
    ASSERT_EQ(line.port.receiveUntil("CONNECT 9600\r\n", kAnswerTimeout),
              "ATD 5551234\r\r\nCONNECT 9600\r\n");
    line.process.control("drop");
    EXPECT_EQ(ReceiveThenSilence(line.port, "\r\nNO CARRIER\r\n"), "\r\nNO CARRIER\r\n");
    line.port.send("AT\r"); // back in command mode
    EXPECT_EQ(line.port.receiveUntil("OK\r\n", kAnswerTimeout), "AT\r\r\nOK\r\n");
}

TEST(DevSimFaults, CorruptionReplacesBytesButKeepsTheirCount)
{
    const std::string clean = "+v\r14.3.40\r\nOK\r\n";
    EmulatedDevice noisy({"--corrupt-rate", "1"});
    noisy.port.send("+v\r");
    std::string received;
    const auto deadline = std::chrono::steady_clock::now() + kAnswerTimeout;
    while (received.size() < clean.size() && std::chrono::steady_clock::now() < deadline)
        received += noisy.port.receiveFor(milliseconds(50));
    received += noisy.port.receiveFor(kSilence);
    ASSERT_EQ(received.size(), clean.size());
    for (std::size_t index = 0; index < clean.size(); ++index)
        EXPECT_NE(received[index], clean[index]) << "byte " << index;
    EXPECT_EQ(noisy.process.wireLog(), "+v\r"); // only what the device sends is noisy
}

// Collects event lines of the form "Get:" payload CR LF signal CR LF from `stream`; returns the stream
// with them removed.
std::string CutEvents(const std::string& stream, std::vector<std::string>& payloads,
                      std::vector<std::size_t>& at)
{
    static const std::regex event("Get:([^\r]*)\r\n-[0-9]+\r\n");
    std::string rest;
    std::size_t last = 0;
    for (auto match = std::sregex_iterator(stream.begin(), stream.end(), event);
         match != std::sregex_iterator(); ++match) {
        rest += stream.substr(last, match->position() - last);
        at.push_back(rest.size());
        payloads.push_back((*match)[1]);
        last = match->position() + match->length();
    }
    return rest + stream.substr(last);
}

// Reads whole lines until at least `count` event lines have come and none is cut off at the end; returns
// their payloads.
std::vector<std::string> ReadEvents(PtyPort& port, std::size_t count, std::string& stream)
{
    std::vector<std::string> payloads;
    std::string rest;
    const auto deadline = std::chrono::steady_clock::now() + kAnswerTimeout;
    do {
        stream += port.receiveUntil("\n", milliseconds(200));
        payloads.clear();
        std::vector<std::size_t> positions;
        rest = CutEvents(stream, payloads, positions);
    } while ((payloads.size() < count || !rest.empty()) && std::chrono::steady_clock::now() < deadline);
    return payloads;
}

// Checks a Contact ID message's check digit the way a receiver does: "0" counts 10, the sum of the first
// fifteen plus the check digit is a multiple of 15.
bool ContactIdChecks(const std::string& message)
{
    int sum = 0;
    for (const char digit : message)
        sum += digit == '0' ? 10 : std::stoi(std::string(1, digit), nullptr, 16);
    return message.size() == 16 && sum % 15 == 0;
}

TEST(DevSimFaults, SendsRecordEventsWithSignalLinesEachOnce)
{
    EmulatedDevice panel({"--device", "panel", "--events-every-ms", "40"});
    std::string stream;
    const std::vector<std::string> payloads = ReadEvents(panel.port, 5, stream);
    ASSERT_GE(payloads.size(), 5u) << stream;
    std::vector<std::string> again;
    std::vector<std::size_t> positions;
    EXPECT_EQ(CutEvents(stream, again, positions), ""); // nothing but event lines

    const std::regex record(R"(\d\d:\d\d:\d\d \d\d/\d\d/\d\d [0-9A-F]{4} ([0-9A-F]{16}))");
    for (std::size_t index = 0; index < payloads.size(); ++index) {
        SCOPED_TRACE(payloads[index]);
        std::smatch fields;
        ASSERT_EQ(payloads[index].size(), 39u);
        ASSERT_TRUE(std::regex_match(payloads[index], fields, record));
        EXPECT_TRUE(ContactIdChecks(fields[1]));
        // The zone field of the message carries the sequence number: 1, 2, 3, ... with no gap or repeat.
        EXPECT_EQ(std::stoi(fields[1].str().substr(12, 3)), static_cast<int>(index + 1));
    }
}

TEST(DevSimFaults, SendsDeviceReportEventsWhenAsked)
{
    EmulatedDevice panel({"--device", "panel", "--events-every-ms", "40", "--event-form", "device"});
    std::string stream;
    const std::vector<std::string> payloads = ReadEvents(panel.port, 2, stream);
    ASSERT_GE(payloads.size(), 2u) << stream;
    EXPECT_EQ(payloads[0], "01Z0201");
    EXPECT_EQ(payloads[1], "02Z0310");
}

// Events cut into answers only with --events-anywhere; either way each arrives once, whole, and the answers
// are intact once the event lines are taken out.
TEST(DevSimFaults, EventsCutIntoAnswersOnlyWhenAllowed)
{
    const std::string answer = "+pAVCP\r0607061403\r\nOK\r\n";
    constexpr std::size_t kCommands = 40;
    for (const bool anywhere : {false, true}) {
        SCOPED_TRACE(anywhere ? "anywhere" : "between answers");
        // An event line takes 29 ms on the paced line and an answer 13 ms: events every 40 ms keep up.
        std::vector<std::string> options = {"--paced", "--events-every-ms", "40"};
        if (anywhere)
            options.push_back("--events-anywhere");
        EmulatedDevice sensor(options);
        std::string stream;
        std::vector<std::string> payloads;
        std::vector<std::size_t> positions;
        std::string answers;
        // Reads line by line until `count` answers are complete and no event line is cut off at the end.
        const auto readAnswers = [&](std::size_t count) {
            const auto deadline = std::chrono::steady_clock::now() + kAnswerTimeout;
            do {
                stream += sensor.port.receiveUntil("\n", milliseconds(100));
                payloads.clear();
                positions.clear();
                answers = CutEvents(stream, payloads, positions);
            } while ((answers.size() < count * answer.size() || answers.find("Get:") != std::string::npos) &&
                     std::chrono::steady_clock::now() < deadline);
        };
        for (std::size_t command = 1; command <= kCommands; ++command) {
            sensor.port.send("+pAVCP\r");
            readAnswers(command);
        }
        std::string expected;
        for (std::size_t command = 0; command < kCommands; ++command)
            expected += answer;
        EXPECT_EQ(answers, expected);
        ASSERT_GE(payloads.size(), 5u);
        std::set<int> zones;
        for (const std::string& payload : payloads)
            zones.insert(std::stoi(payload.substr(35, 3)));
        EXPECT_EQ(zones.size(), payloads.size());

        std::size_t inside = 0;
        for (const std::size_t position : positions)
            inside += position % answer.size() != 0 ? 1 : 0;
        if (anywhere)
            EXPECT_GT(inside, 0u);
        else
            EXPECT_EQ(inside, 0u);
    }
}

TEST(DevSimFaults, ControlChannelSendsGivenEvents)
{
    EmulatedDevice panel({"--device", "panel"});
    panel.process.control("event 01Z0501 -85");
    EXPECT_EQ(ReceiveThenSilence(panel.port, "Get:01Z0501\r\n-85\r\n"), "Get:01Z0501\r\n-85\r\n");
    const std::string withoutSignal = "Get:12:34:56 01/02/10 7FFE 1234181130010019\r\n";
    panel.process.control("event 12:34:56 01/02/10 7FFE 1234181130010019");
    EXPECT_EQ(ReceiveThenSilence(panel.port, withoutSignal), withoutSignal);
}

TEST(DevSimFaults, ControlChannelChangesTheReplyDelay)
{
    EmulatedDevice sensor({});
    sensor.process.control("delay 300");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(sensor.ask("+v"), "+v\r14.3.40\r\nOK\r\n");
    EXPECT_GE(std::chrono::steady_clock::now() - start, milliseconds(250));
}

} // namespace
} // namespace nvx::test
