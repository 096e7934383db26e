// Bit-string helpers for flag bytes and words shown as rows of "0" and "1", most significant bit first.
// Pure functions; any thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace nvx {

// Eight characters "0"/"1" for the byte, most significant bit first.
std::string ByteToBits(std::uint8_t value);

// Trims the text (characters up to the blank) and upper-cases it. When its first four characters
// are hexadecimal digits, replaces it by their sixteen-character bit string and returns true;
// otherwise returns false and leaves it trimmed and upper-cased. Characters after the fourth are dropped.
bool HexToBits(std::string& text);

// Reads a bit string back, most significant bit first; any character other than "1" counts as 0.
// Only the last 32 characters can influence the result.
std::uint32_t BitsToInt(std::string_view bits);

} // namespace nvx
