// The panel's general commands that are more than stored values: its clock ("+AC", "+AS="), its master key
// ("+FMR", "+FMW="), the read-only GSM quality ("+AQ"), start ("+qt"), stop ("+sp"), restart ("+rb") and the
// LED test ("+t"). Emulator thread.
#pragma once

#include "CommandSyntax.h"
#include "Device.h"

#include <chrono>
#include <optional>
#include <string>

namespace devsim {

class PanelGeneralCommands {
public:
    struct Outcome {
        Reply reply;
        bool restarts = false; // after the answer the panel restarts and forgets the authorisation
    };

    // Nothing when the command is none of these, so that the settings store answers it.
    std::optional<Outcome> handle(const Command& command, std::string& masterKey);

private:
    std::chrono::seconds clockOffset_{0}; // the panel's clock minus the computer's
};

// "HH:MM:SS DD/MM/YY" as the program sets the clock; nothing for any other text.
std::optional<std::chrono::system_clock::time_point> ParsePanelClock(const std::string& text);
std::string FormatPanelClock(std::chrono::system_clock::time_point when);

} // namespace devsim
