#include "core/InputController.h"

#include <gtest/gtest.h>

namespace nvx {
namespace {

TEST(TInputController, FiltersAcceptTheirKeysAndBackspace)
{
    // Columns: digits, digits and plus, dial string, hexadecimal; true = the key passes.
    struct Case {
        char32_t key;
        bool digits, plus, dial, hex;
    };
    const Case cases[] = {
        {U'0', true, true, true, true},     {U'9', true, true, true, true},
        {8, true, true, true, true},        {U'+', false, true, true, false},
        {U'W', false, false, true, false},  {U'w', false, false, true, false},
        {U'A', false, false, false, true},  {U'f', false, false, false, true},
        {U'F', false, false, false, true},  {U'G', false, false, false, false},
        {U'g', false, false, false, false}, {U'-', false, false, false, false},
        {U' ', false, false, false, false}, {U'/', false, false, false, false},
        {U':', false, false, false, false}, {U'@', false, false, false, false},
        {U'Ф', false, false, false, false}, {U'в', false, false, false, false},
        {U'٣', false, false, false, false}, // a digit of another script is not a digit here
        {0, false, false, false, false},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(static_cast<unsigned>(test.key));
        EXPECT_EQ(TInputController::Digits(test.key), test.digits ? test.key : 0);
        EXPECT_EQ(TInputController::DigitsAndPlus(test.key), test.plus ? test.key : 0);
        EXPECT_EQ(TInputController::DialString(test.key), test.dial ? test.key : 0);
        EXPECT_EQ(TInputController::Hexadecimal(test.key), test.hex ? test.key : 0);
    }
}

} // namespace
} // namespace nvx
