#include "cli/TerminalText.h"

#include <cstdio>

namespace nvx::cli {

namespace {

bool IsControl(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

bool IsBreak(char c)
{
    return c == '\r' || c == '\n';
}

void AppendEscaped(std::string& out, char c)
{
    switch (c) {
    case '\r':
        out += "\\r";
        break;
    case '\n':
        out += "\\n";
        break;
    case '\t':
        out += "\\t";
        break;
    default: {
        char code[5];
        std::snprintf(code, sizeof code, "\\x%02X", static_cast<unsigned char>(c));
        out += code;
        break;
    }
    }
}

} // namespace

std::string EscapeControls(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (IsControl(c))
            AppendEscaped(out, c);
        else
            out += c;
    }
    return out;
}

std::string LogLineForTerminal(std::string_view line)
{
    while (!line.empty() && IsBreak(line.back()))
        line.remove_suffix(1);
    std::string out;
    out.reserve(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (IsBreak(line[i])) {
            while (i + 1 < line.size() && IsBreak(line[i + 1]))
                ++i;
            out += "\n    ";
        } else if (IsControl(line[i])) {
            AppendEscaped(out, line[i]);
        } else {
            out += line[i];
        }
    }
    return out;
}

} // namespace nvx::cli
