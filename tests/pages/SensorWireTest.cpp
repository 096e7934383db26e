// The radio sensor record, the type names and codes, the learn value and the panel's report of a
// found sensor, as pure functions.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "pages/SensorWire.h"

using namespace nvx;

TEST(SensorWire, RecordsCarrySlotTypeAndSettingsInFixedWidths)
{
    struct Case {
        int slot;
        int type;
        SensorSettings settings;
        const char* record;
    };
    const Case cases[] = {
        {5, 4, {0, 0, 0}, "0541000"},    // infrared, partition 1, instant, no delay
        {3, 1, {1, 2, 1}, "0312021"},    // partition 2, entry zone, 8 s
        {32, 10, {5, 60, 2}, "20A63C2"}, // last slot, 240 s, pass-through
        {1, kFreeSensorType, {0, 0, 0}, "01F1000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SensorRecord(c.slot, c.type, c.settings), c.record);
        EXPECT_EQ(SensorRecordType(c.record), c.type) << c.record;
        if (IsEnrolledSensorType(c.type)) {
            EXPECT_EQ(SensorRecordSettings(c.record), c.settings) << c.record;
        }
    }
    EXPECT_EQ(FreeSensorRecord(3), "03FFFFF");
}

TEST(SensorWire, MalformedOrOutOfRangeRecordsAreNotDecoded)
{
    for (const char* record : {"", "05", "ERR", "05G1000"})
        EXPECT_EQ(SensorRecordType(record), std::nullopt) << record;
    EXPECT_EQ(SensorRecordType("05a1000"), 10);  // either case
    // Partition 0 and 7, delay 0x3D (244 s), zone 3, a letter for a digit, a short record.
    for (const char* record : {"0540000", "0547000", "05413D0", "0541003", "054A000", "054100"})
        EXPECT_EQ(SensorRecordSettings(record), std::nullopt) << record;
}

TEST(SensorWire, TypeNamesDependOnTheFirmwareForType2)
{
    struct Case {
        int code;
        int version;
        std::optional<std::string> name;
    };
    const Case cases[] = {
        {1, 30, "СМК \"Геркон\""}, {2, 29, "Пожарный"},   {2, 30, "Дымовой"},
        {2, 999, "Дымовой"},       {3, 30, "Разбития"},   {4, 30, "ИК \"Объемник\""},
        {8, 30, "ИПР"},            {9, 30, "Протечки"},   {10, 30, "Геркон CR2032"},
        {15, 30, ""},              {0, 30, std::nullopt}, {5, 30, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SensorTypeName(c.code, c.version), c.name) << c.code << " v" << c.version;
        if (c.name && !c.name->empty()) {
            EXPECT_EQ(SensorTypeCode(*c.name), c.code) << *c.name;
        }
    }
    // Whichever firmware named it, a smoke sensor stays a sensor when written.
    EXPECT_EQ(SensorTypeCode("Пожарный"), 2);
    EXPECT_EQ(SensorTypeCode("Дымовой"), 2);
    EXPECT_EQ(SensorTypeCode(""), kFreeSensorType);
    EXPECT_EQ(SensorTypeCode("Неизвестный"), kFreeSensorType);
    EXPECT_TRUE(IsEnrolledSensorType(1) && IsEnrolledSensorType(14));
    EXPECT_FALSE(IsEnrolledSensorType(0) || IsEnrolledSensorType(15));
}

TEST(SensorWire, OnlyTheContactAndInfraredTypesHaveHints)
{
    EXPECT_EQ(SensorTypeHint("СМК \"Геркон\""), "СМК (система магнито-контактная) \"Геркон\"");
    EXPECT_EQ(SensorTypeHint("ИК \"Объемник\""), "ИК (инфракрасный) датчик движения \"Объемник\"");
    EXPECT_EQ(SensorTypeHint("Протечки"), "");
    EXPECT_EQ(SensorTypeHint("что-то"), "");
}

TEST(SensorWire, LearnValueAndPeriodCommand)
{
    EXPECT_EQ(SensorLearnValue(1, {}), "01=01F1000");
    // Partition 3, delay item 2 sent as 2 x 5.
    EXPECT_EQ(SensorLearnValue(26, {2, 2, 1}), "1A=1AF30A0");
    // 51 x 5 is the last that fits two digits; longer delays stay at FF, the record keeps its length.
    EXPECT_EQ(SensorLearnValue(2, {0, 51, 1}), "02=02F1FF0");
    EXPECT_EQ(SensorLearnValue(2, {0, 60, 1}), "02=02F1FF0");
    EXPECT_EQ(AlarmPeriodCommand(5), "+Rn=0A");
    EXPECT_EQ(AlarmPeriodCommand(60), "+Rn=78");
}

TEST(SensorWire, FoundSensorTypeComesFromTheReportedRecord)
{
    EXPECT_EQ(LearnedSensorType("+L01=01F1000\rz0141000\r\nOK\r\n"), 4);
    EXPECT_EQ(LearnedSensorType("\r\nz01a1000\r\nOK"), 10);
    // The echo of a write carries a "z" but no record behind it.
    EXPECT_EQ(LearnedSensorType("+z05=0541000\rOK"), std::nullopt);
    EXPECT_EQ(LearnedSensorType("OK"), std::nullopt);
}
