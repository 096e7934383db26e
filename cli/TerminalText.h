// Device text made safe for a terminal: what a device answers reaches the user's screen, so
// control characters (an escape sequence above all) are shown, never obeyed. Any thread.
#pragma once

#include <string>
#include <string_view>

namespace nvx::cli {

// Every control character as an escape: \r, \n, \t or \xNN.
std::string EscapeControls(std::string_view text);

// A log line for the error stream: line breaks at its end dropped, those inside it made into
// indented continuation lines, other control characters escaped.
std::string LogLineForTerminal(std::string_view line);

} // namespace nvx::cli
