// Device text reaches the terminal: line breaks of logged answers stay readable and no
// control character reaches the screen raw.
#include "cli/TerminalText.h"

#include <gtest/gtest.h>

namespace nvx::cli {
namespace {

TEST(CliTerminalText, LogLinesBreakIntoIndentedContinuations)
{
    struct Case {
        const char* line;
        const char* shown;
    };
    const Case cases[] = {
        {"<- com:  +v\r\n14.3.40\r\nOK\r\n", "<- com:  +v\n    14.3.40\n    OK"},
        {"-> com: +pAVCP", "-> com: +pAVCP"},
        {"\r\n", ""},
        {"a\x1b[2Jb\x07", "a\\x1B[2Jb\\x07"},
        {"tab\there\x7f", "tab\\there\\x7F"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(LogLineForTerminal(c.line), c.shown);
    }
}

TEST(CliTerminalText, ValuesKeepTheirBreaksVisibleOnOneLine)
{
    EXPECT_EQ(EscapeControls("14.3\r\n\x1b"), "14.3\\r\\n\\x1B");
    EXPECT_EQ(EscapeControls("Раздел 1"), "Раздел 1"); // UTF-8 letters are no control characters
}

} // namespace
} // namespace nvx::cli
