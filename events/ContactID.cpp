#include "events/ContactID.h"

#include <algorithm>

namespace nvx {

bool TContactID::IsWellFormed() const
{
    return std::all_of(message_.begin(), message_.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || c == '+' || c == ',' || c == '/' ||
               c == ':' || c == '>';
    });
}

bool TContactID::CarriesEvent() const
{
    return !std::all_of(message_.begin(), message_.end(), [](char c) { return c == 'F'; });
}

std::optional<bool> TContactID::ChecksumValid() const
{
    if (message_.size() < 15)
        return std::nullopt;
    int sum = 0;
    for (std::size_t i = 0; i < 15; ++i) {
        const char c = message_[i];
        if (c == '0')
            sum += 10; // Contact ID counts a zero digit as ten
        else if (c >= '1' && c <= '9')
            sum += c - '0';
        else if (c >= 'A' && c <= 'F')
            sum += c - 'A' + 10;
        else
            return std::nullopt;
    }
    const int expected = 15 - sum % 15; // 1..15; a remainder of 0 asks for "f"
    if (message_.size() < 16)
        return false;
    const char given = message_[15];
    const char expectedChar = "0123456789abcdef"[expected];
    return given == expectedChar || (given >= 'A' && given <= 'F' && given - 'A' + 'a' == expectedChar);
}

} // namespace nvx
