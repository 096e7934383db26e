#include "pages/SensorWire.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

#include "core/NumberText.h"

namespace nvx {

namespace {

struct TypeEntry {
    int code;
    const char* name;
    const char* hint;
};

constexpr std::array<TypeEntry, 6> kTypes{{
    {1, "СМК \"Геркон\"", "СМК (система магнито-контактная) \"Геркон\""},
    {3, "Разбития", ""},
    {4, "ИК \"Объемник\"", "ИК (инфракрасный) датчик движения \"Объемник\""},
    {8, kManualCallPointName, ""},
    {9, "Протечки", ""},
    {10, "Геркон CR2032", ""},
}};
constexpr int kSmokeCode = 2;

std::optional<int> DigitAt(const std::string& text, std::size_t pos)
{
    if (pos >= text.size() || !std::isdigit(static_cast<unsigned char>(text[pos])))
        return std::nullopt;
    return text[pos] - '0';
}

bool IsHexText(std::string_view text)
{
    for (char c : text)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

}  // namespace

bool IsEnrolledSensorType(int code) { return code >= 1 && code <= 14; }

std::optional<std::string> SensorTypeName(int code, int firmwareVersion)
{
    if (code == kFreeSensorType)
        return std::string();
    if (code == kSmokeCode)
        return std::string(firmwareVersion >= kFirstSmokeSensorVersion ? kSmokeSensorName : kFireSensorName);
    for (const TypeEntry& type : kTypes)
        if (type.code == code)
            return std::string(type.name);
    return std::nullopt;
}

int SensorTypeCode(const std::string& name)
{
    // Both smoke names: a page state saved with other firmware must not free the sensor.
    if (name == kSmokeSensorName || name == kFireSensorName)
        return kSmokeCode;
    for (const TypeEntry& type : kTypes)
        if (name == type.name)
            return type.code;
    return kFreeSensorType;
}

std::string SensorTypeHint(const std::string& name)
{
    for (const TypeEntry& type : kTypes)
        if (name == type.name)
            return type.hint;
    return {};
}

std::string SensorRecord(int slot, int typeCode, const SensorSettings& settings)
{
    return WriteHex(slot, 2) + WriteHex(typeCode, 1) + std::to_string(settings.partitionItem + 1) +
           WriteHex(settings.delayItem, 2) + std::to_string(settings.zoneItem);
}

std::string FreeSensorRecord(int slot) { return WriteHex(slot, 2) + "FFFFF"; }

std::optional<int> SensorRecordType(const std::string& record)
{
    if (record.size() < 3)
        return std::nullopt;
    const auto code = ReadHex(std::string_view(record).substr(2, 1));
    if (!code)
        return std::nullopt;
    return static_cast<int>(*code);
}

std::optional<SensorSettings> SensorRecordSettings(const std::string& record)
{
    const auto partition = DigitAt(record, 3);
    const auto delay = record.size() >= 6 ? ReadHex(std::string_view(record).substr(4, 2)) : std::nullopt;
    const auto zone = DigitAt(record, 6);
    if (!partition || !delay || !zone || *partition < 1 || *partition > kPartitionItems ||
        *delay >= static_cast<std::uint32_t>(kDelayItems) || *zone >= kZoneItems)
        return std::nullopt;
    return SensorSettings{*partition - 1, static_cast<int>(*delay), *zone};
}

std::string SensorLearnValue(int slot, const SensorSettings& settings)
{
    // The delay field holds two digits: a longer delay is sent as the most it can say, not as a
    // third digit that would shift the zone out of the record.
    constexpr int kMostLearnDelay = 0xFF;
    return WriteHex(slot, 2) + "=" + WriteHex(slot, 2) + "F" + std::to_string(settings.partitionItem + 1) +
           WriteHex(std::min(settings.delayItem * 5, kMostLearnDelay), 2) + "0";
}

std::optional<int> LearnedSensorType(const std::string& answer)
{
    constexpr std::size_t kRecordLength = 7;
    for (std::size_t z = answer.find('z'); z != std::string::npos; z = answer.find('z', z + 1)) {
        const std::string_view record = std::string_view(answer).substr(z + 1, kRecordLength);
        if (record.size() == kRecordLength && IsHexText(record))
            return SensorRecordType(std::string(record));
    }
    return std::nullopt;
}

std::string AlarmPeriodCommand(int seconds) { return "+Rn=" + WriteHex(seconds * 2, 2); }

}  // namespace nvx
