#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "DevSimProcess.h"
#include "FakeLine.h"
#include "LinkHarness.h"
#include "device/Protocol.h"
#include "link/PhoneNumber.h"

using namespace nvx;
using namespace nvx::test;
using namespace std::chrono_literals;

namespace {

bool Contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Plays a device by hand: waits for the program's line, then answers `reply`.
std::future<std::string> AnswerNextLine(FakeLine& line, std::string reply)
{
    return std::async(std::launch::async, [&line, reply] {
        std::string got;
        auto deadline = std::chrono::steady_clock::now() + 3s;
        while (got.find('\r') == std::string::npos && std::chrono::steady_clock::now() < deadline)
            got += line.receiveFor(5ms);
        line.send(reply);
        return got;
    });
}

}  // namespace

TEST(LinkEcho, AnswerIsWhatFollowsTheEcho)
{
    DevSimProcess sim({"--device", "sensor"});
    LinkHarness h(sim.portPath());
    std::string answer;
    ASSERT_FALSE(h.link->SendCommand("+v", answer, true, false, true, "OK\r", 6000, 1));
    EXPECT_EQ(answer.rfind("\r14.3.40\r\nOK\r", 0), 0u) << answer;
    EXPECT_EQ(Payload(answer), "14.3.40");
    EXPECT_TRUE(Contains(h.Log(), "-> com: +v"));
}

TEST(LinkEcho, WithLineEndAsTerminatorTheEchoLineIsDroppedAndTheNextLineAnswers)
{
    DevSimProcess sim({"--device", "sensor"});
    LinkHarness h(sim.portPath());
    std::string answer;
    ASSERT_FALSE(h.link->SendCommand("+pAVCP", answer, false, false, true, "", 6000, 1));
    EXPECT_EQ(answer.rfind("0607061403", 0), 0u) << answer;
}

TEST(LinkAttempts, EachAttemptIsLoggedAndAllFailWithoutAnswer)
{
    DevSimProcess sim({"--device", "sensor", "--no-answer", "+x"});
    LinkHarness h(sim.portPath());
    std::string answer;
    EXPECT_TRUE(h.link->SendCommand("+x", answer, true, false, true, "OK", 200, 2));
    const std::vector<std::string> expected{" # Успешно открыли COM порт: " + sim.portPath(), " # Попытка № 1",
                                            "-> com: +x", " # Попытка № 2", "-> com: +x"};
    EXPECT_EQ(h.Log(), expected);
    EXPECT_EQ(sim.wireLog(), "+x\r+x\r");
}

TEST(LinkAttempts, PartialAnswerCountsOnlyWithoutRequiredTerminator)
{
    for (bool require : {false, true}) {
        FakeLine line;
        LinkHarness h(line.slavePath());
        auto device = AnswerNextLine(line, "12");
        std::string answer;
        bool failed = h.link->SendCommand("+q", answer, false, false, require, "OK", 300, 1);
        EXPECT_EQ(device.get(), "+q\r");
        EXPECT_EQ(failed, require) << "requireTerminator " << require;
        EXPECT_EQ(answer, "12");
    }
}

TEST(LinkLineWatch, PendingNoCarrierStopsTheLinkBeforeTheCommandIsWritten)
{
    FakeLine line;
    LinkHarness h(line.slavePath());
    line.send("\r\nNO CARRIER\r\n");
    std::this_thread::sleep_for(50ms);
    std::string answer;
    EXPECT_TRUE(h.link->SendCommand("+v", answer, true, false, true, "OK", 1000, 3));
    EXPECT_TRUE(h.link->Terminated());
    EXPECT_EQ(line.receiveFor(100ms), "");
    EXPECT_TRUE(Contains(h.Log(), "ОШИБКА! Цифровое соединение разорвано!"));
}

TEST(LinkLineWatch, NoCarrierAsTheAnswerEndsTheAttemptsAndStopsTheLink)
{
    // The drop reaches the program only after it wrote the command: no attempt may wait it out.
    FakeLine line;
    LinkHarness h(line.slavePath());
    auto device = AnswerNextLine(line, "\r\nNO CARRIER\r\n");
    std::string answer;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(h.link->SendCommand("+pV=14", answer, true, false, true, "OK", 6000, 3));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_EQ(device.get(), "+pV=14\r");
    EXPECT_TRUE(h.link->Terminated());
    EXPECT_EQ(line.receiveFor(100ms), "");  // no second attempt
    EXPECT_TRUE(Contains(h.Log(), "ОШИБКА! Цифровое соединение разорвано!"));
}

TEST(LinkEvents, EventLineInsideAnAnswerGoesToTheDecoderAndLeavesTheAnswer)
{
    FakeLine line;
    LinkHarness h(line.slavePath());
    auto device = AnswerNextLine(line, "+v\r14.10.45\r\nGet:0123ABCD\r\n-67\r\nOK\r\n");
    std::string answer;
    ASSERT_FALSE(h.link->SendCommand("+v", answer, true, false, true, "OK\r", 2000, 1));
    device.get();
    EXPECT_EQ(answer.find("Get"), std::string::npos) << answer;
    EXPECT_EQ(Payload(answer), "14.10.45");
    ASSERT_EQ(h.events.size(), 1u);
    EXPECT_EQ(h.events[0], "0123ABCD\r\n-67");
    EXPECT_TRUE(Contains(h.Log(), "GET:[0123ABCD], INT:[-67]"));
}

TEST(LinkReject, RejectedCommandEndsOnErrWithoutWaitingOutTheTimeOut)
{
    DevSimProcess sim({"--device", "sensor", "--reject", "+pAVCP"});
    LinkHarness h(sim.portPath());
    std::string answer;
    auto start = std::chrono::steady_clock::now();
    ASSERT_FALSE(h.link->SendCommand("+pAVCP", answer, true, false, true, "OK", 6000, 3));
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(Payload(answer), "ERR");
    EXPECT_LT(elapsed, 2s);
    EXPECT_EQ(sim.wireLog(), "+pAVCP\r");  // one attempt was enough
}

TEST(LinkOpen, MissingPortIsLoggedAndStopsTheLink)
{
    LinkHarness h("/dev/does-not-exist-nvx");
    EXPECT_TRUE(h.link->Terminated());
    const auto& log = h.Log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back().rfind(" # !!! Ошибка открытия COM порта: Cannot open device /dev/does-not-exist-nvx", 0),
              0u)
        << log.back();
}

TEST(PhoneNumber, OnlyDialableCharactersRemain)
{
    EXPECT_EQ(FilterPhoneNumber("8 (912) 345-67-89"), "89123456789");
    EXPECT_EQ(FilterPhoneNumber("+7 912,w1;W"), "+7912,w1;W");
}
