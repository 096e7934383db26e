// The device's answer conventions as pure text functions: the value of an answer, hexadecimal
// values, the version answer. Any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/NumberText.h"

namespace nvx {

// "ERR" when the answer holds "ERR"; otherwise the text before the first "OK" with blanks and
// control characters trimmed; empty when there is no "OK".
std::string Payload(const std::string& answer);

// Blanks and control characters removed at both ends.
std::string TrimControl(const std::string& text);

struct VersionInfo {
    bool accepted = false;
    std::uint16_t deviceType = 0;
    std::uint16_t firmwareVersion = 0;
};

// Reads the answer to "+v": "\d+\.(\d+)\.(\d+)" gives device type and firmware version; the
// match must hold "14" or "1.00"; "1.001" is the motion sensor with firmware 39.
VersionInfo ParseVersion(const std::string& value);

}  // namespace nvx
