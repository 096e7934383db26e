// How keyfob slots travel on the wire: the four-character record of the "+b" commands, the learn
// value of the "+L" enrolment and the reading of the panel's answer to it. Pure functions, any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace nvx {

// The partition set of a record's slot that holds no keyfob.
inline constexpr std::uint8_t kFreeKeyfobSet = 0xFF;

// Two upper-case hexadecimal digits.
std::string HexByte(int value);

// Slot (2 hex) and partition set (2 hex, bit p-1 for partition p): slot 2 with partitions 1 and 3
// is "0205".
std::string KeyfobRecord(int slot, std::uint8_t partitions);

// The partition set of a record, positions 3-4; nothing when they are not hexadecimal.
std::optional<std::uint8_t> KeyfobRecordSet(const std::string& record);

// The value of "+L": slot, "=", then the record: slot 3 for partition 2 is "03=0302".
std::string KeyfobLearnValue(int slot, std::uint8_t partitions);

// What the panel's answer to the learn command says so far.
struct LearnAnswer {
    enum class State {
        Searching,        // nothing decisive yet
        NotFound,         // "VER": no keyfob answered; the panel ends with "OK"
        AlreadyEnrolled,  // "RESETADD": the keyfob is held in `heldSlot` already
        Found,            // "OK" alone
        Refused,          // "ERR": the panel does not take the command
    };
    State state = State::Searching;
    bool complete = false;  // the panel has said its last word
    int heldSlot = 0;       // AlreadyEnrolled; 0 when the two characters before it are not hex
};
LearnAnswer ReadLearnAnswer(const std::string& collected);

}  // namespace nvx
