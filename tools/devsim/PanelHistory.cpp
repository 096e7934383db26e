#include "PanelHistory.h"

#include "ContactIdRecord.h"

#include <charconv>
#include <cstdio>

namespace devsim {

namespace {

constexpr std::size_t kNumberDigits = 4;
// Message positions (0-based) of the message type and of the check digit.
constexpr std::size_t kMessageTypeSecondDigit = 5;
constexpr std::size_t kCheckDigit = 15;
constexpr const char* kEventCodes[] = {"130", "401", "602"};

std::optional<std::uint16_t> ParseHexNumber(const std::string& text)
{
    if (!IsHexOfWidth(text, kNumberDigits))
        return std::nullopt;
    return static_cast<std::uint16_t>(std::stoul(text, nullptr, 16));
}

std::optional<int> ParseTimes(const std::string& text)
{
    int times = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), times);
    if (error != std::errc() || end != text.data() + text.size() || times < 1)
        return std::nullopt;
    return times;
}

} // namespace

std::optional<std::uint16_t> ParseRecordNumber(const std::string& text)
{
    unsigned number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || number > 0xFFFF)
        return std::nullopt;
    return static_cast<std::uint16_t>(number);
}

std::string PanelHistory::EventRecord(std::uint16_t number)
{
    // Account 1234, message type 18; alarms (odd numbers) and restores take turns, the event code cycles,
    // the group runs 01 to 06 and the zone field is the record number mod 1000.
    char message[16];
    std::snprintf(message, sizeof message, "123418%c%s%02X%03u", number % 2 == 1 ? '1' : '3',
                  kEventCodes[number % std::size(kEventCodes)], number % 6u + 1u, number % 1000u);
    const std::string message15(message);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02u:%02u:%02u %02u/%02u/10", (number / 60u) % 24u, number % 60u,
                  (number * 7u) % 60u, number % 28u + 1u, (number / 28u) % 12u + 1u);
    return HistoryRecord(stamp, message15);
}

std::string PanelHistory::record(std::uint16_t number)
{
    if (const auto failing = config_.failing.find(number); failing != config_.failing.end()) {
        int& left = failing->second;
        if (left == PanelHistoryConfig::kAlways)
            return kFailedRead;
        if (left > 0) {
            --left;
            return kFailedRead;
        }
    }
    if (number >= config_.records)
        return kEmptySlot;
    std::string text = EventRecord(number);
    const std::size_t message = text.size() - 16;
    if (config_.uncheckable.count(number) != 0)
        text[message + kMessageTypeSecondDigit] = ':';
    if (config_.badChecksums.count(number) != 0) {
        char& digit = text[message + kCheckDigit];
        digit = digit == '1' ? '2' : '1';
    }
    return text;
}

std::optional<Reply> PanelHistory::handle(const Command& command)
{
    const std::string& name = command.name;
    if (name == "FP") {
        if (command.value)
            return Reply::err();
        char answer[32];
        std::snprintf(answer, sizeof answer, "C%04X,%05u", config_.records % PanelHistoryConfig::kMaxRecords,
                      config_.records);
        return Reply::withValue(answer);
    }
    if (name == "FH") {
        if (command.value)
            return Reply::err();
        config_.records = 0;
        return Reply::ok();
    }
    if (name.rfind("fer", 0) == 0) {
        const auto number = ParseHexNumber(name.substr(3));
        if (!number || command.value)
            return Reply::err();
        return Reply::withValue(record(*number));
    }
    return std::nullopt;
}

bool PanelHistory::control(const std::string& verb, const std::string& argument)
{
    const std::size_t blank = argument.find(' ');
    const std::string first = argument.substr(0, blank);
    const std::string rest = blank == std::string::npos ? std::string() : argument.substr(blank + 1);
    if (verb == "history") {
        std::uint32_t records = 0;
        const auto [end, error] = std::from_chars(first.data(), first.data() + first.size(), records);
        if (first.empty() || error != std::errc() || end != first.data() + first.size() ||
            records > PanelHistoryConfig::kMaxRecords || !rest.empty())
            return false;
        config_.records = records;
        return true;
    }
    const auto number = ParseRecordNumber(first);
    if (!number)
        return false;
    if (verb == "history-fail") {
        const auto times = rest.empty() ? std::optional<int>(PanelHistoryConfig::kAlways) : ParseTimes(rest);
        if (!times)
            return false;
        config_.failing[*number] = *times;
        return true;
    }
    if (!rest.empty())
        return false;
    if (verb == "history-bad-sum")
        config_.badChecksums.insert(*number);
    else if (verb == "history-uncheckable")
        config_.uncheckable.insert(*number);
    else
        return false;
    return true;
}

} // namespace devsim
