// Runs the built nvx-cli for a test and collects its exit code and both output streams; the error
// stream can be a pseudo-terminal, as for an installer at a console. The test's thread.
#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

namespace nvx::test {

struct CliResult {
    int exitCode = -1; // the negated signal number when a signal ended it
    std::string out;
    std::string err;
};

class CliProcess {
public:
    enum class ErrorStream { Pipe, Terminal };

    // Starts nvx-cli with `arguments`; throws std::runtime_error when it cannot be started.
    explicit CliProcess(const std::vector<std::string>& arguments,
                        ErrorStream errorStream = ErrorStream::Pipe);
    // Kills it if it is still running.
    ~CliProcess();
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    void signal(int number) const;
    // Collects the output until the program ends; kills it after `timeout`.
    CliResult wait(std::chrono::seconds timeout = std::chrono::seconds(120));

private:
    pid_t pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
};

inline CliResult RunCli(const std::vector<std::string>& arguments)
{
    return CliProcess(arguments).wait();
}

} // namespace nvx::test
