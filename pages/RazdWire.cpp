#include "pages/RazdWire.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdio>
#include <sstream>
#include <vector>

#include "core/NumberText.h"

namespace nvx {

namespace {

constexpr std::size_t kRecordLength = 10;

bool IsOne(char c)
{
    return c == '1';
}

char Flag(bool on)
{
    return on ? '1' : '0';
}

std::optional<PartitionRecord> DecodeRecord(const std::string& item)
{
    if (item.size() < kRecordLength || item[0] < '0' || item[0] > '2')
        return std::nullopt;
    const auto delay = ReadHex(std::string_view(item).substr(7, 2));
    const auto index = ReadHex(std::string_view(item).substr(9, 1));
    if (!delay || !index)
        return std::nullopt;
    PartitionRecord record;
    record.state = item[0] - '0';
    record.quick = IsOne(item[1]);
    record.quick2 = IsOne(item[2]);
    record.waitEmptyLog = IsOne(item[3]);
    record.siren = IsOne(item[4]);
    record.twentyFourHour = IsOne(item[5]);
    record.fire = IsOne(item[6]);
    record.exitDelay = static_cast<int>(*delay);
    record.index = static_cast<int>(*index);
    return record;
}

std::string ThreeDigits(long n)
{
    char text[8];
    std::snprintf(text, sizeof text, "%03ld", n);
    return text;
}

}  // namespace

std::optional<std::array<PartitionRecord, kPartitionCount>> DecodePartitions(const std::string& answer)
{
    std::istringstream items(answer);
    std::array<PartitionRecord, kPartitionCount> records;
    for (PartitionRecord& record : records) {
        std::string item;
        if (!(items >> item))
            return std::nullopt;
        const auto decoded = DecodeRecord(item);
        if (!decoded)
            return std::nullopt;
        record = *decoded;
    }
    return records;
}

std::string EncodePartition(const PartitionRecord& record)
{
    std::string text;
    text += static_cast<char>('0' + std::clamp(record.state, 0, 2));
    text += Flag(record.quick);
    text += Flag(record.quick2);
    text += Flag(record.waitEmptyLog);
    text += Flag(record.siren);
    text += Flag(record.twentyFourHour);
    text += Flag(record.fire);
    text += WriteHex(static_cast<unsigned>(std::clamp(record.exitDelay, 0, 0xFF)), 2);
    text += WriteHex(static_cast<unsigned>(record.index & 0xF), 1);
    return text;
}

PartitionFlags DecodePartitionBits(std::uint8_t byte)
{
    PartitionFlags flags{};
    for (int p = 0; p < kPartitionCount; ++p)
        flags[static_cast<std::size_t>(p)] = (byte >> p) & 1;
    return flags;
}

std::uint8_t EncodePartitionBits(const PartitionFlags& flags)
{
    std::uint8_t byte = 0;
    for (int p = 0; p < kPartitionCount; ++p)
        if (flags[static_cast<std::size_t>(p)])
            byte = static_cast<std::uint8_t>(byte | (1u << p));
    return byte;
}

PartitionFlags DecodeOk2(const std::string& value)
{
    PartitionFlags flags{};
    for (std::size_t p = 0; p < flags.size() && p < value.size(); ++p)
        flags[p] = IsOne(value[p]);
    return flags;
}

std::string EncodeOk2(const PartitionFlags& flags)
{
    std::string text;
    for (bool on : flags)
        text += Flag(on);
    return text;
}

std::optional<SirenModes> DecodeSirenModes(const std::string& value)
{
    if (value.size() != 3)
        return std::nullopt;
    SirenModes modes{};
    for (std::size_t i = 0; i < modes.size(); ++i)
        modes[i] = value[i] >= '0' && value[i] <= '3' ? value[i] - '0' : -1;
    return modes;
}

std::string EncodeSirenModes(const SirenModes& modes)
{
    std::string text;
    for (int mode : modes)
        text += mode >= 0 && mode <= 3 ? static_cast<char>('0' + mode) : '3';
    return text;
}

long FieldNumber(const std::string& text)
{
    std::string digits = text;
    std::replace(digits.begin(), digits.end(), ' ', '0');
    long number = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, number);
    if (stop != end || digits.empty())
        return 0;
    if (error == std::errc::result_out_of_range)
        return digits.front() == '-' ? LONG_MIN : LONG_MAX;
    return error == std::errc() ? number : 0;
}

unsigned FirstNumber(const std::string& text)
{
    const std::size_t begin = text.find_first_of("0123456789");
    if (begin == std::string::npos)
        return 0;
    unsigned number = 0;
    for (std::size_t i = begin; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        number = std::min(number * 10 + static_cast<unsigned>(text[i] - '0'), 0xFFFFu);
    return number;
}

std::string NormaliseEventCount(const std::string& text)
{
    return ThreeDigits(std::clamp(FieldNumber(text), 1L, 255L));
}

std::string NormaliseSirenDuration(const std::string& text)
{
    return ThreeDigits(std::clamp(FieldNumber(text), 30L, 255L));
}

std::string NormaliseFireThreshold(const std::string& text)
{
    char digits[4];
    std::snprintf(digits, sizeof digits, "%02ld", std::clamp(FieldNumber(text), 1L, 31L));
    return digits;
}

std::string NormaliseExitDelay(const std::string& text)
{
    // A negative delay means nothing to the panel: it settles at 0 like an unreadable one.
    return ThreeDigits(std::clamp(FieldNumber(text), 0L, 254L));
}

bool ExitDelayTooShort(const std::string& text)
{
    const long seconds = FieldNumber(text);
    return seconds >= 1 && seconds <= 120;
}

}  // namespace nvx
