#include "core/Bits.h"

#include <gtest/gtest.h>

namespace nvx {
namespace {

TEST(Bits, HexToBitsTrimsUpperCasesAndReportsBadInput)
{
    struct Case {
        std::string input;
        bool ok;
        std::string after;
    };
    const Case cases[] = {
        {"7FFE", true, "0111111111111110"},
        {" \t7ffe\r\n", true, "0111111111111110"},
        {"FEFF", true, "1111111011111111"},
        {"ABCDE", true, "1010101111001101"}, // only the first four digits count
        {"FFFG", false, "FFFG"},
        {" ffg1 ", false, "FFG1"},
        {"12", false, "12"},
        {"", false, ""},
    };
    for (const Case& c : cases) {
        std::string text = c.input;
        EXPECT_EQ(HexToBits(text), c.ok) << c.input;
        EXPECT_EQ(text, c.after) << c.input;
    }
}

TEST(Bits, ByteToBitsAndBitsToIntAreMostSignificantFirst)
{
    EXPECT_EQ(ByteToBits(0x00), "00000000");
    EXPECT_EQ(ByteToBits(0xA5), "10100101");
    EXPECT_EQ(ByteToBits(0x80), "10000000");
    EXPECT_EQ(BitsToInt("10100101"), 0xA5u);
    EXPECT_EQ(BitsToInt("0111111111111110"), 0x7FFEu);
    EXPECT_EQ(BitsToInt("1x1 "), 0b1010u); // anything but "1" is a zero bit
    EXPECT_EQ(BitsToInt(""), 0u);
}

} // namespace
} // namespace nvx
