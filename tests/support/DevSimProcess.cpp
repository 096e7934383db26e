#include "DevSimProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace nvx::test {

namespace {

constexpr std::chrono::seconds kStartTimeout{10};
constexpr std::chrono::seconds kStopTimeout{5};

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

// Reads the first line the child writes, waiting at most until `deadline`.
std::string ReadFirstLine(int fd, std::chrono::steady_clock::time_point deadline)
{
    std::string text;
    while (text.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd readable{fd, POLLIN, 0};
        if (::poll(&readable, 1, static_cast<int>(left.count())) <= 0)
            continue;
        char buffer[256];
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(count));
    }
    return text.substr(0, text.find('\n'));
}

} // namespace

const char* DevSimExecutable()
{
    return DEVSIM_PATH;
}

DevSimProcess::DevSimProcess(const std::vector<std::string>& arguments)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "devsim-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error(std::string("mkdtemp: ") + std::strerror(errno));
    directory_ = pattern;

    std::vector<std::string> command = {DevSimExecutable(), "--control",      path("control"),
                                        "--wire-log",       path("wire.log"), "--state-file",
                                        path("state"),      "--trace",        path("trace.log")};
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : command)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    int output[2];
    if (::pipe2(output, O_CLOEXEC) != 0) {
        std::filesystem::remove_all(directory_);
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    }
    const pid_t parent = ::getpid();
    pid_ = ::fork();
    if (pid_ == 0) {
        // Only async-signal-safe calls between fork and exec.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(127);
        ::dup2(output[1], STDOUT_FILENO);
        // A port the test holds open must not be held by the emulator too, or that port would never look
        // closed to its own emulator.
        ::close_range(STDERR_FILENO + 1, ~0U, 0);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(output[1]);
    if (pid_ < 0) {
        ::close(output[0]);
        std::filesystem::remove_all(directory_);
        throw std::runtime_error(std::string("cannot start devsim: ") + std::strerror(errno));
    }
    const std::string first = ReadFirstLine(output[0], std::chrono::steady_clock::now() + kStartTimeout);
    ::close(output[0]);
    if (first.rfind("PORT ", 0) != 0) {
        stop();
        std::filesystem::remove_all(directory_);
        throw std::runtime_error("devsim did not report its port (got \"" + first + "\")");
    }
    portPath_ = first.substr(5);
}

DevSimProcess::~DevSimProcess()
{
    stop();
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

void DevSimProcess::control(const std::string& line) const
{
    const int fd = ::open(path("control").c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error(std::string("control FIFO: ") + std::strerror(errno));
    const std::string text = line + "\n";
    const ssize_t written = ::write(fd, text.data(), text.size());
    ::close(fd);
    if (written != static_cast<ssize_t>(text.size()))
        throw std::runtime_error("control FIFO: short write");
}

std::string DevSimProcess::wireLog() const
{
    return ReadFile(path("wire.log"));
}

std::string DevSimProcess::trace() const
{
    return ReadFile(path("trace.log"));
}

bool DevSimProcess::awaitTrace(std::string_view text, int times, std::chrono::milliseconds timeout) const
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const std::string log = trace();
        int found = 0;
        for (auto at = log.find(text); at != std::string::npos; at = log.find(text, at + text.size()))
            ++found;
        if (found >= times)
            return true;
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

std::map<std::string, std::string> DevSimProcess::state() const
{
    std::map<std::string, std::string> values;
    std::istringstream lines(ReadFile(path("state")));
    for (std::string line; std::getline(lines, line);) {
        const auto equals = line.find('=');
        if (equals != std::string::npos)
            values[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return values;
}

int DevSimProcess::stop()
{
    if (pid_ <= 0)
        return waitStatus_;
    ::kill(pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + kStopTimeout;
    for (;;) {
        const pid_t done = ::waitpid(pid_, &waitStatus_, WNOHANG);
        if (done == pid_ || (done < 0 && errno != EINTR))
            break;
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &waitStatus_, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    pid_ = -1;
    return waitStatus_;
}

} // namespace nvx::test
