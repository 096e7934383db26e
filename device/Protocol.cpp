#include "device/Protocol.h"

#include <regex>

namespace nvx {

namespace {

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' ' || c == 0x7F; }

}  // namespace

std::string TrimControl(const std::string& text)
{
    std::size_t b = 0, e = text.size();
    while (b < e && IsBlankOrControl(text[b]))
        ++b;
    while (e > b && IsBlankOrControl(text[e - 1]))
        --e;
    return text.substr(b, e - b);
}

std::string Payload(const std::string& answer)
{
    if (answer.find("ERR") != std::string::npos)
        return "ERR";
    std::size_t ok = answer.find("OK");
    if (ok == std::string::npos)
        return {};
    return TrimControl(answer.substr(0, ok));
}

VersionInfo ParseVersion(const std::string& value)
{
    static const std::regex pattern(R"(\d+\.(\d+)\.(\d+))");
    std::smatch match;
    if (!std::regex_search(value, match, pattern))
        return {};
    const std::string whole = match.str(0);
    if (whole.find("14") == std::string::npos && whole.find("1.00") == std::string::npos)
        return {};
    if (whole.find("1.001") != std::string::npos)
        return {true, 3, 39};
    auto type = ReadDecimal(match.str(1));
    auto version = ReadDecimal(match.str(2));
    if (!type || !version || *type > 0xFFFF || *version > 0xFFFF)
        return {};
    return {true, static_cast<std::uint16_t>(*type), static_cast<std::uint16_t>(*version)};
}

}  // namespace nvx
