// A running emulator with the test's own end of its line open, and the exchange every test repeats:
// send a command line, read back to the device's final answer. Used on the test's thread.
#pragma once

#include "tests/support/DevSimProcess.h"
#include "tests/support/PtyPort.h"

#include <chrono>
#include <string>
#include <vector>

namespace nvx::test {

// Generous: an answer normally takes a few milliseconds, but a loaded machine must not fail the test.
inline constexpr std::chrono::milliseconds kAnswerTimeout{5000};
// How long to listen before concluding that nothing (more) comes.
inline constexpr std::chrono::milliseconds kSilence{400};

// Reads up to `expected` (when it is not empty), then listens for kSilence; returns all that came, which
// equals `expected` when exactly that arrived and nothing after it.
inline std::string ReceiveThenSilence(PtyPort& port, const std::string& expected)
{
    std::string received = expected.empty() ? std::string() : port.receiveUntil(expected, kAnswerTimeout);
    return received + port.receiveFor(kSilence);
}

struct EmulatedDevice {
    explicit EmulatedDevice(const std::vector<std::string>& arguments)
        : process(arguments), port(process.portPath())
    {
    }

    // Sends `line` and CR; returns what came back up to and including the final OK, ERR or IGN line.
    std::string ask(const std::string& line)
    {
        port.send(line + "\r");
        return port.receiveUntilAny({"OK\r\n", "ERR\r\n", "IGN\r\n"}, kAnswerTimeout);
    }

    DevSimProcess process;
    PtyPort port;
};

} // namespace nvx::test
