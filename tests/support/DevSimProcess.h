// Runs the device emulator (tools/devsim) for a test, with its control FIFO, wire log, state file and trace
// in a private temporary directory. Test thread; the emulator also ends when the thread that started it does.
#pragma once

#include <chrono>
#include <map>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace nvx::test {

class DevSimProcess {
public:
    // Starts the emulator with `arguments` (plus the options for the files above) and waits up to 10 s for
    // its port; throws std::runtime_error when it does not come up.
    explicit DevSimProcess(const std::vector<std::string>& arguments = {});
    // Stops the emulator (SIGTERM, then SIGKILL if it hangs) and removes the directory.
    ~DevSimProcess();
    DevSimProcess(const DevSimProcess&) = delete;
    DevSimProcess& operator=(const DevSimProcess&) = delete;

    // The pty slave the program (or the test) opens as its serial port.
    const std::string& portPath() const { return portPath_; }
    // Sends one run-time command ("drop", "reject +v", "set A 11", ...).
    void control(const std::string& line) const;
    // Every byte the emulator has received from the port so far, exactly as received.
    std::string wireLog() const;
    // What the device holds now (sensor parameters or panel store).
    std::map<std::string, std::string> state() const;
    // The emulator's human-readable trace, for failure messages.
    std::string trace() const;
    // Waits until the trace holds `text` at least `times` times, e.g. "port closed": the emulator has
    // noticed that the port was closed. False when that did not happen within `timeout`.
    bool awaitTrace(std::string_view text, int times, std::chrono::milliseconds timeout) const;
    // The private directory, for files a test wants to keep beside the emulator's.
    const std::string& directory() const { return directory_; }

    // Sends SIGTERM and waits; returns the wait status (as waitpid gives it). Later calls return it again.
    int stop();

private:
    std::string path(const char* name) const { return directory_ + "/" + name; }

    std::string directory_;
    std::string portPath_;
    pid_t pid_ = -1;
    int waitStatus_ = 0;
};

// The emulator's executable, as built.
const char* DevSimExecutable();

} // namespace nvx::test
