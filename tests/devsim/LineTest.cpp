// The line itself: line ends the device accepts, the exact bytes logged from the wire, output paced at the
// real line rate, a port closed and reopened many times, the symlink and a clean stop.
#include "EmulatedDevice.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <sys/wait.h>
#include <unistd.h>

namespace nvx::test {
namespace {

using std::chrono::milliseconds;

TEST(DevSimLine, AcceptsCrLfAndLoneLfLineEnds)
{
    EmulatedDevice sensor({});
    sensor.port.send("+v\r\n+v\n"); // the empty line between CR and LF is no command
    const std::string twoAnswers = "+v\r14.3.40\r\nOK\r\n+v\r14.3.40\r\nOK\r\n";
    EXPECT_EQ(ReceiveThenSilence(sensor.port, twoAnswers), twoAnswers);
}

TEST(DevSimLine, WireLogHoldsExactlyTheBytesReceived)
{
    EmulatedDevice sensor({});
    const std::string sent[] = {"+v\r", std::string("\x00\xFF+pA", 5), "=11\r\n", "AT\r"};
    std::string all;
    for (const std::string& bytes : sent) {
        sensor.port.send(bytes);
        all += bytes;
    }
    sensor.port.send("+v\r"); // answered once everything before it was logged
    all += "+v\r";
    sensor.port.receiveUntil("AT\rERR\r\n+v\r14.3.40\r\nOK\r\n", kAnswerTimeout);
    EXPECT_EQ(sensor.process.wireLog(), all);
}

TEST(DevSimLine, PacedOutputTakesAboutTheLineTime)
{
    // 15 queries answered back to back: 15 × 23 bytes.
    std::string commands;
    for (int command = 0; command < 15; ++command)
        commands += "+pAVCP\r";
    const std::size_t expectedBytes = 15 * std::string("+pAVCP\r0607061403\r\nOK\r\n").size();
    const double lineMsPerByte = 11.0 * 1000.0 / 19200.0;

    EmulatedDevice sensor({"--paced"});
    sensor.port.send(commands);
    std::string received = sensor.port.receiveUntil("\n", kAnswerTimeout);
    const auto first = std::chrono::steady_clock::now();
    while (received.size() < expectedBytes) {
        const std::string more = sensor.port.receiveUntil("\n", kAnswerTimeout);
        if (more.empty())
            break;
        received += more;
    }
    const auto took =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - first).count();
    ASSERT_EQ(received.size(), expectedBytes);

    // From the end of the first line to the last byte.
    const std::size_t firstLine = std::string("+pAVCP\r0607061403\r\n").size();
    const double lineTime = static_cast<double>(expectedBytes - firstLine) * lineMsPerByte;
    std::cout << "[ figure   ] paced: " << expectedBytes - firstLine << " bytes in " << took
              << " ms, line time " << lineTime << " ms\n";
    RecordProperty("paced_ms", std::to_string(took));
    RecordProperty("line_ms", std::to_string(lineTime));
    EXPECT_GE(took, 0.5 * lineTime);
}

TEST(DevSimLine, PortClosesAndReopensManyTimes)
{
    DevSimProcess sensor;
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        PtyPort port(sensor.portPath());
        port.send("+v\r");
        EXPECT_EQ(port.receiveUntil("OK\r\n", kAnswerTimeout), "+v\r14.3.40\r\nOK\r\n");
    }
}

TEST(DevSimLine, AnswerLeftUnreadDoesNotSurviveTheClose)
{
    DevSimProcess sensor({"--reply-delay-ms", "0"});
    {
        PtyPort port(sensor.portPath());
        port.send("+v\r");
        // Closed only once the answer waits in the port, unread.
        ASSERT_TRUE(sensor.awaitTrace("-> \"+v\\r14.3.40", 1, kAnswerTimeout));
    }
    ASSERT_TRUE(sensor.awaitTrace("port closed", 1, kAnswerTimeout));
    PtyPort port(sensor.portPath());
    port.send("+pAVCP\r");
    EXPECT_EQ(port.receiveUntil("OK\r\n", kAnswerTimeout), "+pAVCP\r0607061403\r\nOK\r\n");
}

TEST(DevSimLine, LinkPointsAtThePortUntilTheEmulatorStops)
{
    const std::string link =
        (std::filesystem::temp_directory_path() / ("ttyDEVSIM-" + std::to_string(::getpid()))).string();
    DevSimProcess sensor({"--link", link});
    ASSERT_EQ(std::filesystem::read_symlink(link), sensor.portPath());
    {
        PtyPort port(link);
        port.send("+v\r");
        EXPECT_EQ(port.receiveUntil("OK\r\n", kAnswerTimeout), "+v\r14.3.40\r\nOK\r\n");
    }
    const int status = sensor.stop();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

} // namespace
} // namespace nvx::test
