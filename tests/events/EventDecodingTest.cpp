#include "events/ContactID.h"
#include "events/HistoryRecord.h"
#include "events/MsgFileU.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace nvx {
namespace {

// Account 1234, type 18, qualifier 1, code 130, group 01, zone 001; its first fifteen characters
// sum to 66, so the check character is 15 - 66 mod 15 = 9.
const std::string kMessage = "1234181130010019";

std::string Record(std::string_view flags, std::string_view message)
{
    return "12:34:56 01/02/10 " + std::string(flags) + " " + std::string(message);
}

std::string ChannelName(int channel)
{
    static const char* const kNames[] = {"",        "GSM цифр.", "SMS", "GPRS IP1", "GPRS IP2",
                                         "не исп.", "SMS",       "",    ""};
    return kNames[channel];
}

// A decoded row as its twelve cells joined by "|", so one text shows every column at once.
std::string Row(std::string_view record, const HistoryDecodeStyle& style = {})
{
    const HistoryRow row = DecodeHistoryRecord(7, record, ChannelName, style);
    std::string joined;
    for (std::size_t c = 0; c < row.cells.size(); ++c)
        joined += (c ? "|" : "") + row.cells[c];
    return joined;
}

std::string Cell(std::string_view record, HistoryColumn column)
{
    return DecodeHistoryRecord(7, record, ChannelName).cells[column];
}

std::string Verdict(std::string_view message)
{
    const auto valid = TContactID(std::string(message)).ChecksumValid();
    return valid ? (*valid ? "Да" : "Нет") : "невычислима";
}

class WorkedExamples : public ::testing::Test {
protected:
    void SetUp() override
    {
        path_ = std::filesystem::path(testing::TempDir()) / "worked-example-table.txt";
        std::ofstream(path_, std::ios::binary)
            << "1301|\xD2\xF0\xE5\xE2\xEE\xE3\xE0|255|0"; // "Тревога" in CP1251
        ASSERT_TRUE(table_.LoadFromFile(path_));
    }
    void TearDown() override { std::filesystem::remove(path_); }

    std::filesystem::path path_;
    TMsgFile table_;
};

TEST_F(WorkedExamples, DecodeAsDescribed)
{
    struct Example {
        const char* what;
        std::function<std::string()> actual;
        std::string expected;
    };
    const Example examples[] = {
        {"full record, delivered over channel 1", [] { return Row(Record("7FFE", kMessage)); },
         "7|01/02/10 12:34:56|1234|130|Тревога||1|001|1234181130010019|Да|Да|1:GSM цифр.; "},
        {"FEFF: GPRS online only, not delivered", [] { return Row(Record("FEFF", kMessage)); },
         "7|01/02/10 12:34:56|1234|130|Тревога||1|001|1234181130010019|Да|Нет|GPRS online SIM; "},
        {"FFFG: delivery columns empty, the rest filled", [] { return Row(Record("FFFG", kMessage)); },
         "7|01/02/10 12:34:56|1234|130|Тревога||1|001|1234181130010019|Да||"},
        {"check character 9 accepted", [] { return Verdict("1234181130010019"); }, "Да"},
        {"check character 5 rejected", [] { return Verdict("1234181130010015"); }, "Нет"},
        {"sum 75 expects f", [] { return Verdict("12341811300100Af"); }, "Да"},
        {"sum 75 accepts F", [] { return Verdict("12341811300100AF"); }, "Да"},
        {"sum 75 rejects 0", [] { return Verdict("12341811300100A0"); }, "Нет"},
        {"partition 0A shown as 10", [] { return Cell(Record("7FFE", "12341811300A0019"), kColPartition); },
         "10"},
        {"qualifier 6 leaves Т\\В empty",
         [] { return Cell(Record("7FFE", "1234186130010019"), kColAlarmRestore); }, ""},
        {"qualifier 3 is a restore",
         [] { return Cell(Record("7FFE", "1234183130010017"), kColAlarmRestore); }, "Восстановление"},
        {"sixteen F: only the number", [] { return Row(Record("7FFE", "FFFFFFFFFFFFFFFF")); },
         "7|||||||||||"},
        {"a G makes the message malformed", [] { return Row(Record("7FFE", "12341811300100G9")); },
         "7||Ошибка|||||||||"},
        {"empty slot: only the number", [] { return Row("31:63:63 31/15/63 FFFF 18113001001FFFF"); },
         "7|||||||||||"},
        {"msg table: text of 1301", [this] { return table_.TextOf("1301"); }, "Тревога"},
        {"msg table: background of 1301", [this] { return std::to_string(table_.BackColorOf("1301")); },
         "255"},
        {"msg table: text of 1303", [this] { return table_.TextOf("1303"); }, " "},
        {"msg table: background of 1303", [this] { return std::to_string(table_.BackColorOf("1303")); },
         "16777215"},
        {"msg table: text colour of 1303", [this] { return std::to_string(table_.TextColorOf("1303")); },
         "0"},
    };
    for (const Example& example : examples)
        EXPECT_EQ(example.actual(), example.expected) << example.what;
}

// A well-formed message may hold "+" or ":", for which no check digit exists. Such a record is shown
// as an error and decoding goes on, instead of failing the page or the export it belongs to.
TEST(HistoryRecord, MessageWithoutCheckDigitIsAnErrorRowNotAFailure)
{
    const std::string record = Record("7FFE", "12:4181130010019");
    const HistoryRow row = DecodeHistoryRecord(7, record, ChannelName);
    EXPECT_EQ(row.kind, HistoryRecordKind::UncheckableMessage);
    EXPECT_TRUE(row.IsError());
    EXPECT_EQ(Row(record), "7|01/02/10 12:34:56|Ошибка|130|Тревога||1|001|12:4181130010019|||");
    EXPECT_EQ(Verdict("12:4181130010019"), "невычислима");
    EXPECT_EQ(Verdict("1234"), "невычислима");    // first fifteen not all there
    EXPECT_EQ(Verdict("123418113001001"), "Нет"); // computable, but no check character to match
}

TEST(HistoryRecord, KindsAndDeliveryPaths)
{
    struct Case {
        std::string record;
        HistoryRecordKind kind;
        std::string paths;
    };
    const Case cases[] = {
        // Channels ascend after the GPRS text; channel c is bit c-1 of the flag word.
        {Record("7E5A", kMessage), HistoryRecordKind::Event,
         "GPRS online SIM; 1:GSM цифр.; 3:GPRS IP1; 6:SMS; 8:; "},
        {Record("0000", kMessage), HistoryRecordKind::Event,
         "GPRS online SIM; 1:GSM цифр.; 2:SMS; 3:GPRS IP1; 4:GPRS IP2; 5:не исп.; 6:SMS; 7:; 8:; "},
        {Record("FFFF", kMessage), HistoryRecordKind::Event, ""},
        {Record("7FFE", "FFFFFFFFFFFFFFFF"), HistoryRecordKind::NoEvent, ""},
        {Record("7FFE", "12341811300100G9"), HistoryRecordKind::MalformedMessage, ""},
        {"31:63:63 31/15/63 FFFF 18113001001FFFF", HistoryRecordKind::EmptySlot, ""},
        {"12:34:56 01/02/10 7FFE", HistoryRecordKind::NoEvent, ""}, // no fourth piece: nothing to show
    };
    for (const Case& c : cases) {
        const HistoryRow row = DecodeHistoryRecord(7, c.record, ChannelName);
        EXPECT_EQ(row.kind, c.kind) << c.record;
        EXPECT_EQ(row.cells[kColPaths], c.paths) << c.record;
    }
    // Without a channel namer the numbers still show.
    EXPECT_EQ(DecodeHistoryRecord(7, Record("7FFE", kMessage), {}).cells[kColPaths], "1:; ");
}

TEST(HistoryRecord, ExportStyleKeepsPartitionAsReceivedAndNamesTheSim)
{
    const HistoryDecodeStyle exportStyle{true, "GPRS online SIM1; "};
    EXPECT_EQ(Row(Record("FEFF", "12341811300A0019"), exportStyle),
              "7|01/02/10 12:34:56|1234|130|Тревога||0A|001|12341811300A0019|Нет|Нет|GPRS online SIM1; ");
}

TEST(HistoryRecord, EventTableKeyFollowsTheQualifier)
{
    EXPECT_EQ(EventTableKey(DecodeHistoryRecord(1, Record("7FFE", kMessage), {})), "1301");
    EXPECT_EQ(EventTableKey(DecodeHistoryRecord(1, Record("7FFE", "1234183130010017"), {})), "1303");
    EXPECT_EQ(EventTableKey(DecodeHistoryRecord(1, Record("7FFE", "1234186130010019"), {})), "1301");
}

TEST(HistoryRecord, ReaderMarkers)
{
    EXPECT_TRUE(IsEmptySlotRecord("31:63:63 31/15/63 FFFF 18113001001FFFF"));
    EXPECT_FALSE(IsEmptySlotRecord(Record("7FFE", kMessage)));
    EXPECT_TRUE(IsFailedReadRecord("12:34:56 01/02/10 FFFF FFFFFFFFFFFFFFFF"));
    EXPECT_FALSE(IsFailedReadRecord(Record("FFFF", kMessage)));
    EXPECT_TRUE(HasOnlyRecordCharacters(Record("7FFE", kMessage)));
    EXPECT_FALSE(HasOnlyRecordCharacters(Record("7ffe", kMessage)));
    EXPECT_FALSE(HasOnlyRecordCharacters(Record("7FFE", "12:4181130010+19")));
}

} // namespace
} // namespace nvx
