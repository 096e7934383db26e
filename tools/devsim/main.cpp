// devsim: plays one device (motion sensor or alarm panel, optionally behind a GSM modem) on a
// pseudo-terminal, for tests and for trying the program without hardware.
#include "Emulator.h"
#include "Options.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t stopSignal = 0;

extern "C" void RequestStop(int signal)
{
    stopSignal = signal;
}

// Points `linkPath` at the slave; an existing symlink (left by an earlier run) is replaced.
bool CreateLink(const std::string& linkPath, const std::string& target)
{
    struct stat info {};
    if (::lstat(linkPath.c_str(), &info) == 0) {
        if (!S_ISLNK(info.st_mode)) {
            std::fprintf(stderr, "devsim: %s exists and is no symlink\n", linkPath.c_str());
            return false;
        }
        ::unlink(linkPath.c_str());
    }
    if (::symlink(target.c_str(), linkPath.c_str()) != 0) {
        std::fprintf(stderr, "devsim: cannot create %s: %s\n", linkPath.c_str(), std::strerror(errno));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    std::optional<devsim::Options> options;
    try {
        options = devsim::ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::invalid_argument& error) {
        std::fprintf(stderr, "devsim: %s\n%s", error.what(), devsim::Usage());
        return 2;
    }
    if (!options) {
        std::fputs(devsim::Usage(), stdout);
        return 0;
    }

    // The stop signals stay blocked except while the loop waits, so none slips in between its checks.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    sigset_t waitMask;
    sigprocmask(SIG_BLOCK, &stopSignals, &waitMask);
    sigdelset(&waitMask, SIGTERM);
    sigdelset(&waitMask, SIGINT);
    struct sigaction stop {};
    stop.sa_handler = RequestStop;
    sigaction(SIGTERM, &stop, nullptr);
    sigaction(SIGINT, &stop, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    bool linked = false;
    int status = 0;
    try {
        devsim::Emulator emulator(*options);
        if (!options->linkPath.empty()) {
            linked = CreateLink(options->linkPath, emulator.portPath());
            if (!linked)
                return 1;
        }
        std::printf("PORT %s\n", emulator.portPath().c_str());
        std::fflush(stdout);
        emulator.run([] { return stopSignal != 0; }, waitMask);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "devsim: %s\n", error.what());
        status = 1;
    }
    if (linked)
        ::unlink(options->linkPath.c_str());
    return status;
}
