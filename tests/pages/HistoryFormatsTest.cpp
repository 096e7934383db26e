// The history page's texts on strings: what the panel's answers are taken for, the text file's
// decoded lines, the rows of the export of all records read, and the order the read cache keeps.
#include <gtest/gtest.h>

#include "events/EventMessageTable.h"
#include "events/HistoryFormats.h"
#include "events/HistoryReadCache.h"

using namespace nvx;

namespace {

// 12:34:56 01/02/10, account 1234, type 18, alarm, code 130, group 01, zone 001, check digit 9.
const std::string kMessage = "1234181130010019";

std::string Record(const std::string& flags, const std::string& message)
{
    return "12:34:56 01/02/10 " + flags + " " + message;
}

std::string Channel(int channel)
{
    return channel == 1 ? "SMS" : "GPRS IP1";
}

} // namespace

TEST(HistoryFormats, PositionIsTheFourHexDigitsAfterTheFirstC)
{
    struct Case {
        const char* value;
        std::optional<std::uint16_t> position;
    };
    const Case cases[] = {
        {"C0010,00016", 16},
        {"12345C00ffX", 255},
        {"C0064", std::nullopt},        // shorter than 10
        {"C00640000", std::nullopt},    // 9 characters
        {"0123456789", std::nullopt},   // no C
        {"xxxxxC00G1yy", std::nullopt}, // not hexadecimal
        {"xxxxxxxxC01", std::nullopt},  // fewer than four digits after the C
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseHistoryPosition(c.value), c.position) << c.value;
    EXPECT_EQ(RecordCommand(0xFFF0), "+ferFFF0");
    EXPECT_EQ(RecordCommand(10), "+fer000A");
}

TEST(HistoryFormats, ARecordIsAcceptedOnlyWhenItCanBeOne)
{
    const std::string record = Record("7FFE", kMessage);
    struct Case {
        std::string value;
        std::optional<std::string> accepted;
    };
    const Case cases[] = {
        {record, record},
        {record + "  trailing", record},
        {record.substr(0, 38), std::nullopt},
        {"00:00:00 00/00/00 FFFF FFFFFFFFFFFFFFFF", std::nullopt}, // failed read
        {Record("7FFE", "123418113001001g"), std::nullopt},        // lower case
        {Record("7FFE", "1234+81130010019"), std::nullopt},        // well formed, yet no record character
    };
    for (const Case& c : cases)
        EXPECT_EQ(AcceptedRecord(c.value), c.accepted) << c.value;
}

TEST(HistoryFormats, TextFileLineOfEachKindOfRecord)
{
    struct Case {
        const char* what;
        std::optional<std::string> record;
        std::string line;
    };
    const Case cases[] = {
        {"read failed", std::nullopt, "7 Ошибка "},
        {"empty slot", "31:63:63 31/15/63 FFFF 0000000000000000", "7 7 "},
        {"no event", Record("7FFE", "FFFFFFFFFFFFFFFF"), "7   "},
        {"malformed message", Record("7FFE", "12341811300G0019"), "7 Ошибка  "},
        {"event", Record("7FFE", kMessage),
         "7 01/02/10 12:34:56 1234181130010019 1234 130 Тревога 1 001 Да Да 1:SMS;  "},
        {"restore, group 0A, wrong check digit", Record("7FFE", "12341831300A0015"),
         "7 01/02/10 12:34:56 12341831300A0015 1234 130 Восстановление 10 001 Нет Да 1:SMS;  "},
        {"qualifier neither alarm nor restore", Record("7FFE", "1234186130010014"),
         "7 01/02/10 12:34:56 1234186130010014 1234 130  1 001 Да Да 1:SMS;  "},
        {"GPRS online, not delivered", Record("FEFF", kMessage),
         "7 01/02/10 12:34:56 1234181130010019 1234 130 Тревога 1 001 Да Нет GPRS online SIM;  "},
        {"flags not hexadecimal", Record("FFFG", kMessage),
         "7 01/02/10 12:34:56 1234181130010019 1234 130 Тревога 1 001 Да "},
        {"check digit cannot be computed", Record("7FFE", "12341:1130010019"),
         "7 01/02/10 12:34:56 12341:1130010019 1234 130 Тревога 1 001 Ошибка "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HistoryTextLine(7, RecordRead{c.record, "as received"}, Channel), c.line) << c.what;
}

TEST(HistoryFormats, ExportedRowKeepsThePartitionAsReceivedAndNamesTheEvent)
{
    const TMsgFile events = LoadEventMessageTable();
    using Row = std::array<std::string, kHistoryColumnCount>;
    struct Case {
        const char* what;
        std::string record;
        Row row;
    };
    const Case cases[] = {
        {"alarm over GPRS online",
         Record("FEFE", "12341811300A001F"),
         {"9", "01/02/10 12:34:56", "1234", "130", "Тревога", events.TextOf("1301"), "0A", "001",
          "12341811300A001F", "Да", "Нет", "GPRS online SIM1; 1:SMS; "}},
        {"restore",
         Record("7FFE", "1234183130010017"),
         {"9", "01/02/10 12:34:56", "1234", "130", "Восстановление", events.TextOf("1303"), "01", "001",
          "1234183130010017", "Да", "Да", "1:SMS; "}},
        {"check digit cannot be computed",
         Record("7FFE", "12341:1130010019"),
         {"9", "01/02/10 12:34:56", "Ошибка", "130", "Тревога", events.TextOf("1301"), "01", "001",
          "12341:1130010019", "", "", ""}},
        {"empty slot", "31:63:63 31/15/63 FFFF 0000000000000000", {"9"}},
        {"failed read", "00:00:00 00/00/00 FFFF FFFFFFFFFFFFFFFF", {"9"}},
    };
    ASSERT_NE(events.TextOf("1301"), " "); // the carried table names burglary
    for (const Case& c : cases)
        EXPECT_EQ(ExportedRecordRow(9, c.record, Channel, events), c.row) << c.what;
}

TEST(HistoryReadCache, StaysNewestFirstWhicheverWayThePagesGo)
{
    HistoryReadCache cache;
    auto numbers = [&] {
        std::vector<int> order;
        for (const auto& entry : cache.Snapshot())
            order.push_back(entry.number);
        return order;
    };
    cache.BeginRead(HistoryReadCache::InsertMode::Front); // first page: 100..102
    for (int n : {100, 101, 102})
        cache.Insert(static_cast<std::uint16_t>(n), "r" + std::to_string(n));
    cache.BeginRead(HistoryReadCache::InsertMode::End); // back: 97..99
    for (int n : {97, 98, 99})
        cache.Insert(static_cast<std::uint16_t>(n), "r" + std::to_string(n));
    cache.BeginRead(HistoryReadCache::InsertMode::Front); // forward beyond: 103, 104
    for (int n : {103, 104})
        cache.Insert(static_cast<std::uint16_t>(n), "r" + std::to_string(n));

    EXPECT_EQ(numbers(), (std::vector<int>{104, 103, 102, 101, 100, 99, 98, 97}));
    EXPECT_EQ(cache.Find(98), "r98");
    EXPECT_EQ(cache.Find(96), std::nullopt);

    cache.BeginRead(HistoryReadCache::InsertMode::End);
    cache.Clear(); // "Очистить" while a read goes on
    cache.Insert(90, "r90");
    EXPECT_EQ(numbers(), (std::vector<int>{90}));
}
