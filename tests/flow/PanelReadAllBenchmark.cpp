// Measures read all against the emulated panel at the real line rate (general settings, partitions,
// 32 radio sensors, wired loops, 16 keyfobs, channels, GPRS, the history position); prints the
// elapsed time beside the time the bytes of both directions need on the wire at 19200 baud with
// 11 bits a character.
#include <cstdio>
#include <sstream>

#include "DevSimProcess.h"
#include "SessionDriver.h"

using namespace nvx;
using namespace nvx::test;

namespace {

// How many bytes the emulator sent, from its trace: each "-> " line quotes them with C escapes.
std::size_t SentByDevice(const std::string& trace)
{
    std::size_t bytes = 0;
    std::istringstream lines(trace);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t marker = line.find(" -> \"");
        if (marker == std::string::npos)
            continue;
        const std::string quoted = line.substr(marker + 5, line.size() - marker - 6);
        for (std::size_t i = 0; i < quoted.size(); ++i, ++bytes)
            if (quoted[i] == '\\')
                i += quoted[i + 1] == 'x' ? 3 : 1;
    }
    return bytes;
}

}  // namespace

int main()
{
    constexpr int kRuns = 3;
    double total = 0, wire = 0;
    for (int run = 0; run < kRuns; ++run) {
        DevSimProcess sim({"--device", "panel", "--paced", "--reply-delay-ms", "0"});
        SessionDriver d;
        if (!d.Connect(sim.portPath())) {
            std::fprintf(stderr, "connection failed: %s\n", d.session.Splash().text("Panel2").c_str());
            return 1;
        }
        const std::size_t sentBefore = sim.wireLog().size();
        const std::size_t receivedBefore = SentByDevice(sim.trace());
        d.messages.clear();
        const auto start = std::chrono::steady_clock::now();
        d.session.ReadAllCommand();
        if (!d.WaitForJob() || d.messages.empty() || d.messages.back() != "Чтение всех параметров завершено!") {
            std::fprintf(stderr, "read all did not finish\n");
            return 1;
        }
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const std::size_t bytes = sim.wireLog().size() - sentBefore + SentByDevice(sim.trace()) - receivedBefore;
        const double lineSeconds = bytes * 11.0 / 19200.0;
        std::printf("run %d: %.3f s elapsed; the line needs %.3f s for %zu bytes both ways\n", run + 1, elapsed,
                    lineSeconds, bytes);
        total += elapsed;
        wire += lineSeconds;
        d.session.Disconnect();
    }
    // The emulator paces only its own answers; the program's commands cross the pseudo-terminal at once.
    std::printf("read all: %.3f s on average; the line alone needs %.3f s both ways (%.2f x)\n", total / kRuns,
                wire / kRuns, total / wire);
    return 0;
}
