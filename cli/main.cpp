// nvx-cli: the installers' command-line companion of the configuration program. It drives the
// same shell, device object and pages as the window, so the device sees the same traffic.
#include <atomic>
#include <csignal>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

#include "cli/Companion.h"
#include "cli/TerminalText.h"
#include "serial/PortList.h"

namespace {

std::atomic<bool> interruptRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the flag is set from a signal handler");

extern "C" void RequestInterrupt(int)
{
    interruptRequested = true;
}

// Ctrl-C, a kill and a closed output pipe end the run through a clean disconnect, so a modem
// call is hung up and the port released.
void CatchInterrupts()
{
    std::signal(SIGPIPE, SIG_IGN);
    struct sigaction action {};
    action.sa_handler = RequestInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

// One port a line, its name first, as --port takes it. Only ports the system really has: a
// script must not be offered a port that is not there.
int ListPorts()
{
    const std::vector<nvx::SerialPort> ports = nvx::FindSerialPorts();
    if (ports.empty())
        std::cerr << "Последовательные порты не найдены\n";
    for (const nvx::SerialPort& port : ports)
        std::cout << nvx::PortItemText(port) << '\n';
    return static_cast<int>(nvx::cli::ExitCode::Ok);
}

} // namespace

int main(int argc, char** argv)
{
    using namespace nvx::cli;
    std::optional<Request> request;
    try {
        request = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& error) {
        std::cerr << "nvx-cli: " << error.what() << "\nСправка: nvx-cli --help\n";
        return static_cast<int>(ExitCode::Usage);
    }
    if (!request) {
        std::cout << UsageText();
        return static_cast<int>(ExitCode::Ok);
    }
    if (!request->NeedsDevice())
        return ListPorts();
    CatchInterrupts();
    try {
        RunOutcome outcome;
        {
            Progress progress(std::cerr, ::isatty(STDERR_FILENO) == 1);
            Companion companion(std::move(*request), std::cout, progress,
                                [] { return interruptRequested.load(); });
            outcome = companion.Run();
        }
        std::cout.flush();
        if (!outcome.message.empty())
            std::cerr << "nvx-cli: " << LogLineForTerminal(outcome.message) << '\n';
        return static_cast<int>(outcome.code);
    } catch (const std::exception& error) {
        std::cerr << "nvx-cli: внутренняя ошибка: " << error.what() << '\n';
        return static_cast<int>(ExitCode::Internal);
    }
}
