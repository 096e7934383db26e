// How radio sensor slots travel on the wire: the seven-character record of the "+z" commands,
// the type codes and the names the page shows for them, the learn value of the "+L" enrolment,
// the record the panel reports for a sensor it found, and the alarm period command. Pure
// functions, any thread.
#pragma once

#include <optional>
#include <string>

namespace nvx {

inline constexpr int kFreeSensorType = 0xF;
// From this firmware version on, type 2 is a smoke sensor ("Дымовой"), before it a fire sensor.
inline constexpr int kFirstSmokeSensorVersion = 30;

inline constexpr const char* kSmokeSensorName = "Дымовой";
inline constexpr const char* kFireSensorName = "Пожарный";
inline constexpr const char* kManualCallPointName = "ИПР";

// The settings of a slot as the page's lists show them: item indexes.
struct SensorSettings {
    int partitionItem = 0;  // partition - 1, 0..5
    int delayItem = 0;      // entry delay / 4 s, 0..60
    int zoneItem = 0;       // 0 instant, 1 entry, 2 pass-through
    bool operator==(const SensorSettings&) const = default;
};

inline constexpr int kPartitionItems = 6;
inline constexpr int kDelayItems = 61;
inline constexpr int kZoneItems = 3;
inline constexpr int kEntryZone = 1;

// Codes 1..14 are sensors; 0 and 15 are free slots.
bool IsEnrolledSensorType(int code);

// The name the type field shows for a code: empty for a free slot (15), nothing for codes the
// page does not know, which leave the field as it was.
std::optional<std::string> SensorTypeName(int code, int firmwareVersion);
// The code written for a type name; either smoke name gives 2, any unknown text 15 (free).
int SensorTypeCode(const std::string& name);
// The longer description shown over the type field; empty for most types.
std::string SensorTypeHint(const std::string& name);

// Slot (2 hex), type (1 hex), partition (1 digit), delay (2 hex), zone (1 digit): "0541000".
std::string SensorRecord(int slot, int typeCode, const SensorSettings& settings);
// "03FFFFF": what deleting slot 3 writes.
std::string FreeSensorRecord(int slot);

// The type code at position 3 of a record; nothing when it is not a hexadecimal digit.
std::optional<int> SensorRecordType(const std::string& record);
// Positions 4-7 of an enrolled sensor's record; nothing when they are malformed or out of range.
std::optional<SensorSettings> SensorRecordSettings(const std::string& record);

// The value of "+L": slot, "=", slot, free type, partition, delay item x 5 (two hex digits, at
// most FF), zone 0 — "01=01F1000" for slot 1 with the default lists.
std::string SensorLearnValue(int slot, const SensorSettings& settings);
// The type code of the record the panel reports after a found sensor ("z" and seven hex
// digits of either case); nothing when the answer holds none.
std::optional<int> LearnedSensorType(const std::string& answer);

// "+Rn=" and the alarm transmission period in half-seconds: 5 s gives "+Rn=0A".
std::string AlarmPeriodCommand(int seconds);

}  // namespace nvx
