// The companion's command line: what the installer asked for, checked before any port is
// touched, and the Russian usage text. Main thread.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "shell/Session.h"

namespace nvx::cli {

enum class Action { ListPorts, Status, PetImmunity, ReadPage, WritePage, ReadAll, WriteAll, SaveHistory };

struct Request {
    Action action = Action::Status;
    ConnectionChoice connection;
    bool petImmune = false; // --pet-immunity on|off
    int pageId = 0;         // --read-page, --write-page
    std::string profile;    // empty: no settings profile
    std::string historyFile; // --save-history: a .txt text file or a .xls workbook
    bool verbose = false;

    bool Reads() const { return action == Action::ReadPage || action == Action::ReadAll; }
    bool Writes() const { return action == Action::WritePage || action == Action::WriteAll; }
    bool AllPages() const { return action == Action::ReadAll || action == Action::WriteAll; }
    bool NeedsDevice() const { return action != Action::ListPorts; }
};

enum class HistoryFile { Text, Workbook };

// What a history file name asks for, by its extension (.txt or .xls, any case).
std::optional<HistoryFile> HistoryFileKind(const std::string& name);

// A command line that cannot be carried out; the message says why, in Russian.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The arguments after the program name. Nothing when help was asked for; throws UsageError.
std::optional<Request> ParseCommandLine(const std::vector<std::string>& arguments);

const char* UsageText();

} // namespace nvx::cli
