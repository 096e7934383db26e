#include "pages/CommonWire.h"

#include <algorithm>
#include <cstdio>

#include "device/Protocol.h"

namespace nvx {

namespace {

constexpr int kNoValue = 99;
constexpr int kSignalSteps = 31;
constexpr int kErrorSteps = 7;
constexpr unsigned kLockOn = 0x80;
constexpr unsigned kWriteMarker = 0x40;

std::string LastFour(const std::string& padding, const std::string& text)
{
    if (text.size() == 4)
        return text;
    const std::string padded = padding + text;
    return padded.substr(padded.size() - 4);
}

std::optional<int> HexField(const std::string& value, std::size_t position)
{
    if (value.size() < position + 2)
        return std::nullopt;
    const auto number = ReadHex(value.substr(position, 2));
    return number ? std::optional<int>(static_cast<int>(*number)) : std::nullopt;
}

}  // namespace

std::string ObjectNumberToSend(const std::string& text)
{
    const std::string number = LastFour("0000", text);
    return number == "0000" ? kDefaultObjectNumber : number;
}

std::string MasterKeyToSend(const std::string& text, const std::string& defaultKey)
{
    return LastFour(defaultKey, text);
}

std::optional<SignalQuality> DecodeSignalQuality(const std::string& value)
{
    const auto signal = HexField(value, 0);
    const auto error = HexField(value, 3);
    if (!signal || !error)
        return std::nullopt;
    SignalQuality quality;
    quality.signal = *signal;
    quality.signalBar = *signal == kNoValue ? 0 : std::min(*signal, kSignalSteps);
    quality.error = *error == kNoValue ? kErrorSteps : *error;
    quality.errorBar = std::min(quality.error, kErrorSteps);
    return quality;
}

std::optional<Outputs> DecodeOutputs(const std::string& value)
{
    if (value.size() != 2 || (value[0] != '0' && value[0] != '1') || value[1] < '0' || value[1] > '3')
        return std::nullopt;
    return Outputs{value[0] == '1', value[1] - '0'};
}

std::string EncodeOutputs(const Outputs& outputs)
{
    return {outputs.atCommands ? '1' : '0', static_cast<char>('0' + outputs.values)};
}

std::optional<AlarmButtons> DecodeAlarmButtons(const std::string& value)
{
    if (value.empty() || value[0] < '0' || value[0] > '2')
        return std::nullopt;
    return static_cast<AlarmButtons>(value[0] - '0');
}

std::string EncodeAlarmButtons(AlarmButtons mode)
{
    return std::string(1, static_cast<char>('0' + static_cast<int>(mode)));
}

Sirens DecodeSirens(const std::string& value)
{
    return {!value.empty() && value[0] == '1', value.size() > 1 && value[1] == '1'};
}

std::string EncodeSirens(const Sirens& sirens)
{
    return {sirens.keypad ? '1' : '0', sirens.keyfob ? '1' : '0'};
}

std::optional<KeypadLock> DecodeKeypadLock(const std::string& value)
{
    const auto byte = ReadHex(value);
    if (!byte)
        return std::nullopt;
    return KeypadLock{(*byte & kLockOn) != 0, static_cast<int>(*byte & ~(kLockOn | kWriteMarker))};
}

std::optional<std::string> EncodeKeypadLock(bool on, const std::string& lockTimeItem)
{
    const std::size_t first = lockTimeItem.find_first_of("0123456789");
    if (first == std::string::npos)
        return std::nullopt;
    const std::size_t end = lockTimeItem.find_first_not_of("0123456789", first);
    const auto minutes = ReadDecimal(lockTimeItem.substr(first, end == std::string::npos ? end : end - first));
    if (!minutes)
        return std::nullopt;
    char hex[16];
    std::snprintf(hex, sizeof hex, "%02X", *minutes | kWriteMarker | (on ? kLockOn : 0u));
    return std::string(hex);
}

int LockTimeItem(int minutes)
{
    return minutes >= kFirstLockMinutes && minutes <= kLastLockMinutes ? minutes - kFirstLockMinutes : -1;
}

std::optional<bool> DecodeBuzzer(const std::string& value)
{
    const auto number = ReadDecimal(value);
    if (!number)
        return std::nullopt;
    return *number == 1;
}

std::string EncodeBuzzer(bool on)
{
    return on ? "01" : "00";
}

std::string ClockText(const std::tm& localTime)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d %02d/%02d/%02d", localTime.tm_hour, localTime.tm_min,
                  localTime.tm_sec, localTime.tm_mday, localTime.tm_mon + 1, (localTime.tm_year + 1900) % 100);
    return text;
}

}  // namespace nvx
