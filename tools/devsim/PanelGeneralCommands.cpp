#include "PanelGeneralCommands.h"

#include <cstdio>
#include <ctime>

namespace devsim {

namespace {

std::optional<PanelGeneralCommands::Outcome> Answer(Reply reply, bool restarts = false)
{
    return PanelGeneralCommands::Outcome{std::move(reply), restarts};
}

bool IsQuery(const Command& command) { return !command.value.has_value(); }

} // namespace

std::optional<std::chrono::system_clock::time_point> ParsePanelClock(const std::string& text)
{
    std::tm parts{};
    char tail = 0;
    if (text.size() != 17 || std::sscanf(text.c_str(), "%2d:%2d:%2d %2d/%2d/%2d%c", &parts.tm_hour, &parts.tm_min,
                                         &parts.tm_sec, &parts.tm_mday, &parts.tm_mon, &parts.tm_year, &tail) != 6)
        return std::nullopt;
    if (parts.tm_hour > 23 || parts.tm_min > 59 || parts.tm_sec > 59 || parts.tm_mday < 1 || parts.tm_mday > 31 ||
        parts.tm_mon < 1 || parts.tm_mon > 12)
        return std::nullopt;
    parts.tm_mon -= 1;
    parts.tm_year += 100; // years 2000 to 2099
    parts.tm_isdst = -1;
    const std::time_t when = std::mktime(&parts);
    if (when == static_cast<std::time_t>(-1))
        return std::nullopt;
    return std::chrono::system_clock::from_time_t(when);
}

std::string FormatPanelClock(std::chrono::system_clock::time_point when)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm parts{};
    localtime_r(&seconds, &parts);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d %02d/%02d/%02d", parts.tm_hour, parts.tm_min, parts.tm_sec,
                  parts.tm_mday, parts.tm_mon + 1, parts.tm_year % 100);
    return text;
}

std::optional<PanelGeneralCommands::Outcome> PanelGeneralCommands::handle(const Command& command,
                                                                           std::string& masterKey)
{
    const std::string& name = command.name;
    const auto now = std::chrono::system_clock::now();
    if (name == "AC")
        return Answer(IsQuery(command) ? Reply::withValue(FormatPanelClock(now + clockOffset_)) : Reply::err());
    if (name == "AS") {
        const auto when = IsQuery(command) ? std::nullopt : ParsePanelClock(*command.value);
        if (!when)
            return Answer(Reply::err());
        clockOffset_ = std::chrono::duration_cast<std::chrono::seconds>(*when - now);
        return Answer(Reply::ok());
    }
    if (name == "FMR")
        return Answer(IsQuery(command) ? Reply::withValue(masterKey) : Reply::err());
    if (name == "FMW") {
        if (IsQuery(command) || !IsHexOfWidth(*command.value, 4))
            return Answer(Reply::err());
        masterKey = *command.value;
        return Answer(Reply::ok());
    }
    if (name == "AQ" && !IsQuery(command))
        return Answer(Reply::err());
    if (name == "qt" || name == "sp" || name == "rb" || name == "t") {
        return Answer(IsQuery(command) ? Reply::ok() : Reply::err(), IsQuery(command) && name == "rb");
    }
    return std::nullopt;
}

} // namespace devsim
