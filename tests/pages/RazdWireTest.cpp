// The partitions page's encodings and number rules as pure functions.
#include <gtest/gtest.h>

#include "core/NumberText.h"
#include "pages/RazdWire.h"

using namespace nvx;

TEST(RazdWire, EncodesOnePartitionRecord)
{
    struct Case {
        PartitionRecord record;
        const char* wire;
    };
    const Case cases[] = {
        // state, quick, quick2, empty log, siren, 24 h, fire, exit delay, index
        {{0, true, true, false, true, false, false, 30, 1}, "01101001E1"},
        {{2, false, false, false, false, false, false, 254, 5}, "2000000FE5"},
        {{1, true, true, true, true, true, true, 0, 0}, "1111111000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EncodePartition(c.record), c.wire);
}

TEST(RazdWire, DecodesSixRecordsAndRefusesIncompleteAnswers)
{
    const auto all = DecodePartitions("1111111000 1111111000 1111111000 1111111000 1111111000 1111111000");
    ASSERT_TRUE(all);
    for (const PartitionRecord& r : *all) {
        EXPECT_EQ(r.state, 1);
        EXPECT_TRUE(r.quick && r.quick2 && r.waitEmptyLog && r.siren && r.twentyFourHour && r.fire);
        EXPECT_EQ(r.exitDelay, 0);
        EXPECT_EQ(r.index, 0);
    }

    const auto mixed = DecodePartitions("0000100FE0 2000000781 0 0 0 0");
    EXPECT_FALSE(mixed) << "items shorter than ten characters";
    const auto valid = DecodePartitions("0000100FE0 2000000781X 0000000000 0000000002 0000000003 0000000004");
    ASSERT_TRUE(valid) << "characters beyond the tenth are ignored";
    EXPECT_EQ((*valid)[0].exitDelay, 254);
    EXPECT_TRUE((*valid)[0].siren);
    EXPECT_EQ((*valid)[1].state, 2);
    EXPECT_EQ((*valid)[1].exitDelay, 0x78);
    EXPECT_EQ((*valid)[5].index, 4);

    for (const char* bad : {"0000000000 0000000000 0000000000 0000000000 0000000000",  // five items
                            "00000000G0 0000000000 0000000000 0000000000 0000000000 0000000000",
                            "3000000000 0000000000 0000000000 0000000000 0000000000 0000000000", ""})
        EXPECT_FALSE(DecodePartitions(bad)) << bad;
}

TEST(RazdWire, FlagBytesStringsAndSirenModes)
{
    EXPECT_EQ(DecodePartitionBits(0x3F), (PartitionFlags{true, true, true, true, true, true}));
    EXPECT_EQ(DecodePartitionBits(0xC5), (PartitionFlags{true, false, true, false, false, false}));
    EXPECT_EQ(EncodePartitionBits({false, true, false, false, false, true}), 0x22);
    EXPECT_EQ(WriteHex(0x22, 2), "22");
    EXPECT_EQ(WriteHex(5, 2), "05");

    EXPECT_EQ(DecodeOk2("101"), (PartitionFlags{true, false, true, false, false, false}));
    EXPECT_EQ(EncodeOk2({true, false, false, false, false, true}), "100001");

    EXPECT_EQ(DecodeSirenModes("012"), (SirenModes{0, 1, 2}));
    EXPECT_EQ(DecodeSirenModes("39A"), (SirenModes{3, -1, -1}));
    EXPECT_FALSE(DecodeSirenModes("33"));
    EXPECT_FALSE(DecodeSirenModes("3333"));
    EXPECT_EQ(EncodeSirenModes({-1, 0, 2}), "302");
}

TEST(RazdWire, NumberFieldsSettleOnTheirRange)
{
    struct Case {
        std::string (*normalise)(const std::string&);
        const char* typed;
        const char* settled;
    };
    const Case cases[] = {
        {NormaliseEventCount, "", "001"},       {NormaliseEventCount, "0", "001"},
        {NormaliseEventCount, "-5", "001"},     {NormaliseEventCount, "abc", "001"},
        {NormaliseEventCount, " 7", "007"},     {NormaliseEventCount, "255", "255"},
        {NormaliseEventCount, "256", "255"},    {NormaliseSirenDuration, "10", "030"},
        {NormaliseSirenDuration, "254", "254"}, {NormaliseSirenDuration, "999999999999", "255"},
        {NormaliseFireThreshold, "0", "01"},    {NormaliseFireThreshold, "7", "07"},
        {NormaliseFireThreshold, "32", "31"},   {NormaliseExitDelay, "2 ", "020"},
        {NormaliseExitDelay, "255", "254"},     {NormaliseExitDelay, "-1", "000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.normalise(c.typed), c.settled) << '"' << c.typed << '"';

    EXPECT_EQ(FirstNumber("ab12cd34"), 12u);
    EXPECT_EQ(FirstNumber("none"), 0u);
}

TEST(RazdWire, ShortExitDelaysWarn)
{
    for (auto [text, warns] : {std::pair{"000", false}, {"001", true}, {"120", true}, {"121", false}})
        EXPECT_EQ(ExitDelayTooShort(text), warns) << text;
}
