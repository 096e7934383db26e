#include "core/Bits.h"

namespace nvx {

namespace {

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Control characters and the blank count as white space, as the panel's tools always trimmed.
bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

} // namespace

std::string ByteToBits(std::uint8_t value)
{
    std::string bits(8, '0');
    for (int i = 0; i < 8; ++i)
        if (value & (0x80 >> i))
            bits[i] = '1';
    return bits;
}

bool HexToBits(std::string& text)
{
    std::size_t first = 0;
    while (first < text.size() && IsBlank(text[first]))
        ++first;
    std::size_t last = text.size();
    while (last > first && IsBlank(text[last - 1]))
        --last;
    text = text.substr(first, last - first);
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');

    if (text.size() < 4)
        return false;
    std::string bits;
    for (std::size_t i = 0; i < 4; ++i) {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0)
            return false;
        for (int bit = 3; bit >= 0; --bit)
            bits += (digit >> bit) & 1 ? '1' : '0';
    }
    text = std::move(bits);
    return true;
}

std::uint32_t BitsToInt(std::string_view bits)
{
    std::uint32_t value = 0;
    for (char c : bits)
        value = (value << 1) | (c == '1' ? 1u : 0u);
    return value;
}

} // namespace nvx
