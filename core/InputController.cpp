#include "core/InputController.h"

namespace nvx {

namespace {

char32_t UpperAscii(char32_t key)
{
    return key >= U'a' && key <= U'z' ? key - U'a' + U'A' : key;
}

bool IsDigit(char32_t key)
{
    return key >= U'0' && key <= U'9';
}

char32_t AcceptIf(char32_t key, bool accepted)
{
    return accepted || key == TInputController::kBackspace ? key : 0;
}

} // namespace

char32_t TInputController::Digits(char32_t key)
{
    return AcceptIf(key, IsDigit(key));
}

char32_t TInputController::DigitsAndPlus(char32_t key)
{
    return AcceptIf(key, IsDigit(key) || key == U'+');
}

char32_t TInputController::DialString(char32_t key)
{
    return AcceptIf(key, IsDigit(key) || key == U'+' || UpperAscii(key) == U'W');
}

char32_t TInputController::Hexadecimal(char32_t key)
{
    const char32_t upper = UpperAscii(key);
    return AcceptIf(key, IsDigit(key) || (upper >= U'A' && upper <= U'F'));
}

} // namespace nvx
