// Measures the installer's main job against the emulator at the real line rate: connect, read
// the state, toggle it (four writes) and read it back; prints the elapsed time beside the time
// the bytes alone need on the wire at 19200 baud with 11 bits a character.
#include <cstdio>

#include "DevSimProcess.h"
#include "SessionDriver.h"

using namespace nvx;
using namespace nvx::test;

int main()
{
    constexpr int kRuns = 5;
    double total = 0, wire = 0, answers = 0;
    for (int run = 0; run < kRuns; ++run) {
        DevSimProcess sim({"--device", "sensor", "--paced", "--reply-delay-ms", "0"});
        SessionDriver d;
        auto start = std::chrono::steady_clock::now();
        if (!d.Connect(sim.portPath())) {
            std::fprintf(stderr, "connection failed: %s\n", d.session.Splash().text("Panel2").c_str());
            return 1;
        }
        d.Press();
        if (!d.WaitForJob() || !d.session.SensorPage().PetImmune()) {
            std::fprintf(stderr, "toggle failed\n");
            return 1;
        }
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        // Both directions share nothing but the device's turn-around: the program's commands,
        // then the device's echo, value and OK for each of them, one after another.
        const std::string sent = sim.wireLog();
        std::size_t received = 0;
        for (const char* answer : {"+v\r14.3.40\r\nOK\r\n", "+pAVCP\r0607061403\r\nOK\r\n", "+pA=11\rOK\r\n",
                                   "+pV=14\rOK\r\n", "+pC=061E\rOK\r\n", "+pP=03\rOK\r\n",
                                   "+pAVCP\r1114061E03\r\nOK\r\n"})
            received += std::string(answer).size();
        const double lineSeconds = (sent.size() + received) * 11.0 / 19200.0;
        const double answerSeconds = received * 11.0 / 19200.0;
        std::printf("run %d: %.3f s elapsed; the line needs %.3f s for %zu bytes both ways, %.3f s of it for the "
                    "device's %zu bytes\n",
                    run + 1, elapsed, lineSeconds, sent.size() + received, answerSeconds, received);
        total += elapsed;
        wire += lineSeconds;
        answers += answerSeconds;
        d.session.Disconnect();
    }
    // The emulator paces only its own answers; the program's commands cross the pseudo-terminal at once.
    std::printf("connect + read + toggle + read-back: %.3f s on average; the line alone needs %.3f s both ways "
                "(%.2f x), %.3f s for the answers the emulator paces (%.2f x)\n",
                total / kRuns, wire / kRuns, total / wire, answers / kRuns, total / answers);
    return 0;
}
