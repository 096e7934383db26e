#include "ContactIdRecord.h"

namespace devsim {

namespace {

int ContactIdDigitValue(char digit)
{
    if (digit == '0')
        return 10;
    if (digit >= '1' && digit <= '9')
        return digit - '0';
    return digit - 'A' + 10;
}

// The check digit that makes a 15-character Contact ID message valid.
char ContactIdCheckDigit(const std::string& message15)
{
    int sum = 0;
    for (const char digit : message15)
        sum += ContactIdDigitValue(digit);
    return "0123456789ABCDEF"[15 - sum % 15];
}

} // namespace

std::string HistoryRecord(const std::string& stamp, const std::string& message15)
{
    return stamp + " 7FFE " + message15 + ContactIdCheckDigit(message15);
}

} // namespace devsim
