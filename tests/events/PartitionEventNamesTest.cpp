#include "events/PartitionEventNames.h"

#include <gtest/gtest.h>

#include <set>

namespace nvx {
namespace {

TEST(PartitionEventNames, LookupByCode)
{
    struct Case {
        int code;
        std::string_view text;
    };
    const Case cases[] = {
        {742, "Постановка под охрану раздела 1"},
        {757, "Постановка под охрану раздела 6"},
        {740, "Снятие с охраны раздела 1"},
        {765, "Тревога раздела 6"},
        {790, "Задержка на вход по разделу 1"},
        {785, "Задержка на выход по разделу 6"},
        {741, ""},
        {0, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PartitionEventText(c.code), c.text) << c.code;
}

TEST(PartitionEventNames, StoredInGroupsOfSixWithUniqueCodes)
{
    std::set<int> codes;
    for (const auto& name : PartitionEventNames)
        EXPECT_TRUE(codes.insert(name.code).second) << name.code;
    EXPECT_EQ(PartitionEventNames[5].code, 757);  // last arming text
    EXPECT_EQ(PartitionEventNames[6].code, 740);  // first disarming text
    EXPECT_EQ(PartitionEventNames[12].code, 760); // first alarm text
    EXPECT_EQ(PartitionEventNames[18].code, 790); // first entry delay
    EXPECT_EQ(PartitionEventNames[24].code, 780); // first exit delay
}

} // namespace
} // namespace nvx
