#include <gtest/gtest.h>

#include "pages/CommonWire.h"

using namespace nvx;

TEST(CommonWire, ObjectNumberIsCompletedToFourCharactersAndNeverZero)
{
    const std::pair<const char*, const char*> cases[] = {
        {"5", "0005"}, {"0", "0050"}, {"0000", "0050"}, {"", "0050"}, {"1A2B", "1A2B"}, {"12345", "2345"},
        {"ABC", "0ABC"},
    };
    for (auto [typed, sent] : cases)
        EXPECT_EQ(ObjectNumberToSend(typed), sent) << typed;
}

TEST(CommonWire, MasterKeyIsCompletedFromTheDefaultKeyNotWithZeros)
{
    const std::pair<const char*, const char*> cases[] = {
        {"AB", "34AB"}, {"7", "2347"}, {"", "1234"}, {"9F0C", "9F0C"}, {"12345", "2345"},
    };
    for (auto [typed, sent] : cases)
        EXPECT_EQ(MasterKeyToSend(typed, "1234"), sent) << typed;
}

TEST(CommonWire, SignalQualityAnswer)
{
    struct Case {
        const char* answer;
        int signal, signalBar, error, errorBar;
    };
    const Case cases[] = {
        {"14,00", 20, 20, 0, 0},
        {"63,63", 99, 0, 7, 7},  // no value: empty signal bar, full error bar
        {"1F;02", 31, 31, 2, 2},  // any separator
        {"28,10", 40, 31, 16, 7}, // out of the bars' ranges: the bars stop at their ends
        {"0a 0b", 10, 10, 11, 7},
    };
    for (const Case& c : cases) {
        const auto quality = DecodeSignalQuality(c.answer);
        ASSERT_TRUE(quality) << c.answer;
        EXPECT_EQ(quality->signal, c.signal) << c.answer;
        EXPECT_EQ(quality->signalBar, c.signalBar) << c.answer;
        EXPECT_EQ(quality->error, c.error) << c.answer;
        EXPECT_EQ(quality->errorBar, c.errorBar) << c.answer;
    }
    for (const char* bad : {"", "ERR", "14,0", "1G,00", "14,0X", "14"})
        EXPECT_FALSE(DecodeSignalQuality(bad)) << bad;
}

TEST(CommonWire, KeypadLockByte)
{
    struct Case {
        const char* answer;
        bool on;
        int minutes, item;
    };
    const Case cases[] = {
        {"8F", true, 15, 10}, {"45", false, 5, 0}, {"05", false, 5, 0}, {"C5", true, 5, 0},
        {"4A", false, 10, 5}, {"50", false, 16, -1}, {"84", true, 4, -1}, {"c0", true, 0, -1},
    };
    for (const Case& c : cases) {
        const auto lock = DecodeKeypadLock(c.answer);
        ASSERT_TRUE(lock) << c.answer;
        EXPECT_EQ(lock->on, c.on) << c.answer;
        EXPECT_EQ(lock->minutes, c.minutes) << c.answer;
        EXPECT_EQ(LockTimeItem(lock->minutes), c.item) << c.answer;
    }
    for (const char* bad : {"", "ERR", "G5", "-5"})
        EXPECT_FALSE(DecodeKeypadLock(bad)) << bad;

    EXPECT_EQ(EncodeKeypadLock(true, "5 мин"), "C5");
    EXPECT_EQ(EncodeKeypadLock(false, "10 мин"), "4A");
    EXPECT_EQ(EncodeKeypadLock(true, "15 мин"), "CF");
    EXPECT_FALSE(EncodeKeypadLock(true, ""));
    EXPECT_FALSE(EncodeKeypadLock(false, "мин"));
}

TEST(CommonWire, OutputsAlarmButtonsSirensAndBuzzer)
{
    for (const char* value : {"00", "01", "02", "03", "10", "11", "12", "13"}) {
        const auto outputs = DecodeOutputs(value);
        ASSERT_TRUE(outputs) << value;
        EXPECT_EQ(EncodeOutputs(*outputs), value);
    }
    EXPECT_TRUE(DecodeOutputs("12")->atCommands);
    EXPECT_EQ(DecodeOutputs("12")->values, 2);
    for (const char* bad : {"", "0", "04", "20", "ERR", "003"})
        EXPECT_FALSE(DecodeOutputs(bad)) << bad;

    EXPECT_EQ(DecodeAlarmButtons("0"), AlarmButtons::Instant);
    EXPECT_EQ(DecodeAlarmButtons("1"), AlarmButtons::Off);
    EXPECT_EQ(DecodeAlarmButtons("2"), AlarmButtons::Hold4s);
    EXPECT_FALSE(DecodeAlarmButtons("3"));
    EXPECT_FALSE(DecodeAlarmButtons(""));
    EXPECT_EQ(EncodeAlarmButtons(AlarmButtons::Hold4s), "2");

    EXPECT_EQ(EncodeSirens(DecodeSirens("10")), "10");
    EXPECT_EQ(EncodeSirens(DecodeSirens("01")), "01");
    EXPECT_EQ(EncodeSirens(DecodeSirens("1")), "10");

    EXPECT_EQ(DecodeBuzzer("1"), true);
    EXPECT_EQ(DecodeBuzzer("01"), true);
    EXPECT_EQ(DecodeBuzzer("0"), false);
    EXPECT_EQ(DecodeBuzzer("2"), false);
    for (const char* bad : {"", "ERR", "1 ", "-1"})
        EXPECT_FALSE(DecodeBuzzer(bad)) << bad;
    EXPECT_EQ(EncodeBuzzer(true), "01");
    EXPECT_EQ(EncodeBuzzer(false), "00");
}

TEST(CommonWire, ClockTextIsTwoDigitsEachWithSlashesAndColons)
{
    std::tm morning{};
    morning.tm_hour = 7;
    morning.tm_min = 5;
    morning.tm_sec = 9;
    morning.tm_mday = 3;
    morning.tm_mon = 0;
    morning.tm_year = 2024 - 1900;
    EXPECT_EQ(ClockText(morning), "07:05:09 03/01/24");
    std::tm evening = morning;
    evening.tm_hour = 23;
    evening.tm_mday = 31;
    evening.tm_mon = 11;
    evening.tm_year = 2100 - 1900;
    EXPECT_EQ(ClockText(evening), "23:05:09 31/12/00");
}
