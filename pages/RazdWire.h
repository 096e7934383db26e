// The partitions page's wire encodings and number rules as pure functions: the "+p" partition
// records, the flag bytes and strings, the siren modes and the normalisation of its number
// fields. Any thread.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace nvx {

inline constexpr int kPartitionCount = 6;

struct PartitionRecord {
    int state = 0;  // 0 disarmed, 1 armed, 2 alarm occurred
    bool quick = false;
    bool quick2 = false;
    bool waitEmptyLog = false;
    bool siren = false;
    bool twentyFourHour = false;
    bool fire = false;
    int exitDelay = 0;  // seconds
    int index = 0;      // row index 0..5
};

using PartitionFlags = std::array<bool, kPartitionCount>;

// The "+p" answer: six blank-separated items of at least ten characters; nothing when an item
// is missing or cannot be decoded.
std::optional<std::array<PartitionRecord, kPartitionCount>> DecodePartitions(const std::string& answer);
// The ten characters "+pN=" carries for one partition.
std::string EncodePartition(const PartitionRecord& record);

// A byte whose bit p-1 stands for partition p ("+x", "+dn"); bits 6 and 7 are ignored.
PartitionFlags DecodePartitionBits(std::uint8_t byte);
std::uint8_t EncodePartitionBits(const PartitionFlags& flags);

// "+da": one "1" or "0" per partition; a missing character counts as "0".
PartitionFlags DecodeOk2(const std::string& value);
std::string EncodeOk2(const PartitionFlags& flags);

// "+ym": siren modes 0..3 for fire, fire possibility and burglary alarm, in this order.
using SirenModes = std::array<int, 3>;
// Nothing unless the value has exactly three characters; a digit outside 0..3 gives -1 (no mode).
std::optional<SirenModes> DecodeSirenModes(const std::string& value);
// A mode outside 0..3 (no button chosen) is sent as 3, "on".
std::string EncodeSirenModes(const SirenModes& modes);

// The number a field's text counts as: blanks read as "0", anything that is not a decimal
// number as 0.
long FieldNumber(const std::string& text);
// The first run of decimal digits of a text, as a number; 0 without digits.
unsigned FirstNumber(const std::string& text);

// The texts the number fields settle on after a change.
std::string NormaliseEventCount(const std::string& text);     // "001".."255"
std::string NormaliseSirenDuration(const std::string& text);  // "030".."255"
std::string NormaliseFireThreshold(const std::string& text);  // "01".."31"
std::string NormaliseExitDelay(const std::string& text);      // "000".."254"

// Whether an exit delay is short enough for sensors to miss their alarm restore.
bool ExitDelayTooShort(const std::string& text);

}  // namespace nvx
