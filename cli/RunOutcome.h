// How a run of nvx-cli ends: the exit code that installer scripts branch on and the message
// for the user. Any thread.
#pragma once

#include <string>

namespace nvx::cli {

enum class ExitCode : int {
    Ok = 0,
    Internal = 1,        // an error the program did not expect
    Usage = 2,           // the command line, a page identifier or a profile file is not usable
    Connection = 3,      // the port could not be opened or the device did not connect
    WrongDevice = 4,     // the connected device does not have what was asked for
    OperationFailed = 5, // a read or write failed, was stopped, or its result could not be kept
};

struct RunOutcome {
    ExitCode code = ExitCode::Ok;
    std::string message; // empty when there is nothing to add

    static RunOutcome Success() { return {}; }
    static RunOutcome Failure(ExitCode code, std::string message) { return {code, std::move(message)}; }
    bool ok() const { return code == ExitCode::Ok; }
};

} // namespace nvx::cli
