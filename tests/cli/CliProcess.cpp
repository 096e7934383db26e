#include "CliProcess.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace nvx::test {

namespace {

[[noreturn]] void Fail(const std::string& what, int error)
{
    throw std::runtime_error(what + ": " + std::strerror(error));
}

// A pseudo-terminal whose slave becomes the child's error stream; returns the master.
int OpenTerminal(int& slave)
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
        Fail("pseudo-terminal", errno);
    slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0)
        Fail("pseudo-terminal slave", errno);
    return master;
}

} // namespace

CliProcess::CliProcess(const std::vector<std::string>& arguments, ErrorStream errorStream)
{
    std::vector<std::string> command = {NVX_CLI_PATH};
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : command)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
        Fail("pipe", errno);
    int errWrite = -1;
    if (errorStream == ErrorStream::Terminal) {
        errFd_ = OpenTerminal(errWrite);
    } else {
        int err[2];
        if (::pipe2(err, O_CLOEXEC) != 0)
            Fail("pipe", errno);
        errFd_ = err[0];
        errWrite = err[1];
    }
    outFd_ = out[0];

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errWrite, STDERR_FILENO);
    const int spawned = ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(errWrite);
    if (spawned != 0) {
        pid_ = -1;
        Fail("cannot start nvx-cli", spawned);
    }
}

CliProcess::~CliProcess()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    for (int fd : {outFd_, errFd_})
        if (fd >= 0)
            ::close(fd);
}

void CliProcess::signal(int number) const
{
    if (pid_ > 0)
        ::kill(pid_, number);
}

CliResult CliProcess::wait(std::chrono::seconds timeout)
{
    CliResult result;
    pollfd streams[2] = {{outFd_, POLLIN, 0}, {errFd_, POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    // Reads what is there within `waitMs`; true when some bytes came.
    auto readSome = [&](int waitMs) {
        bool got = false;
        if (::poll(streams, 2, waitMs) <= 0)
            return false;
        for (int i = 0; i < 2; ++i) {
            if (streams[i].fd < 0 || !(streams[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            char buffer[4096];
            const ssize_t count = ::read(streams[i].fd, buffer, sizeof buffer);
            if (count > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(count));
                got = true;
            } else {
                streams[i].fd = -1; // end of a pipe, or EIO of a terminal whose slave is gone
            }
        }
        return got;
    };

    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    for (;;) {
        readSome(50);
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            while (readSome(0)) {
            }
            break;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            break;
        }
    }
    pid_ = -1;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    return result;
}

} // namespace nvx::test
