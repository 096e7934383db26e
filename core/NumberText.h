// Numbers written as text, as the device and the files write them: unsigned hexadecimal of
// either case, or decimal digits, nothing else (no sign, no blanks); and hexadecimal as the
// commands send it. Any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace nvx {

// Up to eight hexadecimal digits; nothing for any other text.
std::optional<std::uint32_t> ReadHex(std::string_view text);

// Up to nine decimal digits; nothing for any other text.
std::optional<std::uint32_t> ReadDecimal(std::string_view text);

// Upper-case hexadecimal with at least `digits` digits (zeros in front), as commands carry it.
std::string WriteHex(std::uint32_t value, int digits);

}  // namespace nvx
