#include "events/EventMessageTable.h"
#include "events/MsgFileU.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

namespace nvx {
namespace {

class MsgFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::filesystem::path(testing::TempDir()) /
               ("msgfile-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::filesystem::path Write(const std::string& name, const std::string& bytes)
    {
        const auto path = dir_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string Read(const std::filesystem::path& path)
    {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path dir_;
};

// CP1251 bytes of the Russian words used below.
const std::string kPozhar = "\xCF\xEE\xE6\xE0\xF0"; // "Пожар"
const std::string kNorma = "\xCD\xEE\xF0\xEC\xE0";  // "Норма"

TEST_F(MsgFile, LoadSplitsRowsAndFieldsOfEveryLineEnding)
{
    TMsgFile table;
    ASSERT_TRUE(table.LoadFromFile(Write("t.txt", "no bar here\r\n"
                                                  "1101|" +
                                                      kPozhar +
                                                      "|$0000FF|$FFFFFF\r\n"
                                                      "1103|" +
                                                      kNorma +
                                                      "\n"
                                                      "|||\r"
                                                      "x|\r\n"
                                                      "last line without bar")));
    // The first line makes no row; the last one leaves an empty row behind.
    ASSERT_EQ(table.RowCount(), 5u);
    EXPECT_EQ(table.ColCount(0), 4u);
    EXPECT_EQ(table.Cell(0, 1), "Пожар");
    EXPECT_EQ(table.ColCount(1), 2u);
    EXPECT_EQ(table.ColCount(2), 4u);
    EXPECT_EQ(table.Cell(2, 3), "");
    EXPECT_EQ(table.ColCount(3), 2u);
    EXPECT_EQ(table.Cell(3, 1), ""); // the piece after the last bar counts, empty or not
    EXPECT_EQ(table.ColCount(4), 0u);

    EXPECT_EQ(table.BackColorOf("1101"), 0x0000FF);
    EXPECT_EQ(table.TextColorOf("1101"), 0xFFFFFF);
    EXPECT_EQ(table.TextOf("1103"), "Норма");

    // A trailing line break opens no further line.
    ASSERT_TRUE(table.LoadFromFile(Write("u.txt", "1|a\r\n")));
    EXPECT_EQ(table.RowCount(), 1u);
    ASSERT_TRUE(table.LoadFromFile(Write("empty.txt", "")));
    EXPECT_EQ(table.RowCount(), 0u);
}

TEST_F(MsgFile, LookupsTakeTheFirstFilledFieldAndFallBackOnBadColours)
{
    TMsgFile table;
    ASSERT_TRUE(table.LoadFromFile(Write("t.txt", "1301|||\r\n"
                                                  "1301|second|red|12x\r\n"
                                                  "1301|third|123|-16777201\r\n"
                                                  "1302|a|$|$100000000\r\n"
                                                  "1303|b|$ffFF00|2147483648\r\n")));
    EXPECT_EQ(table.TextOf("1301"), "second");      // the first row's text is empty
    EXPECT_EQ(table.BackColorOf("1301"), 16777215); // "red" is the first filled one, and no number
    EXPECT_EQ(table.TextColorOf("1301"), 0);        // likewise "12x"
    EXPECT_EQ(table.BackColorOf("1302"), 16777215); // "$" alone
    EXPECT_EQ(table.TextColorOf("1302"), 0);        // more than 32 bits
    EXPECT_EQ(table.BackColorOf("1303"), 0xFFFF00);
    EXPECT_EQ(table.TextColorOf("1303"), 0); // beyond a 32-bit signed colour
    EXPECT_EQ(table.TextOf("130"), " ");     // keys match whole
    EXPECT_EQ(table.TextOf("1301 "), " ");

    ASSERT_TRUE(table.LoadFromFile(Write("s.txt", "k|t|$FF000005|-16777201\r\n")));
    EXPECT_EQ(table.BackColorOf("k"), -16777211); // system colours keep the top byte set
    EXPECT_EQ(table.TextColorOf("k"), -16777201);
    EXPECT_EQ(table.TextOf("K"), " "); // keys are case-sensitive
}

TEST_F(MsgFile, SaveWritesCp1251RowsThatLoadBack)
{
    TMsgFile table;
    ASSERT_TRUE(table.LoadFromFile(Write("in.txt", "1101|" + kPozhar + "|255|0\r\nk|\r\ntail")));
    ASSERT_TRUE(table.SetCell(1, 1, "Норма"));
    EXPECT_FALSE(table.SetCell(1, 2, "beyond the row"));
    EXPECT_FALSE(table.SetCell(3, 0, "beyond the table"));
    EXPECT_EQ(table.Cell(3, 0), "");

    const auto out = dir_ / "out.txt";
    ASSERT_TRUE(table.SaveToFile(out));
    EXPECT_EQ(Read(out), "1101|" + kPozhar + "|255|0\r\nk|" + kNorma + "\r\n\r\n");

    TMsgFile again;
    ASSERT_TRUE(again.LoadFromFile(out));
    EXPECT_EQ(again.TextOf("k"), "Норма");
    EXPECT_EQ(again.BackColorOf("1101"), 255);

    EXPECT_FALSE(table.SaveToFile(dir_ / "missing-folder" / "x.txt"));
}

TEST_F(MsgFile, MissingFileLeavesTheTableAsItWas)
{
    TMsgFile table;
    EXPECT_EQ(table.RowCount(), 0u);
    ASSERT_TRUE(table.LoadFromFile(Write("t.txt", "1|one\r\n")));
    EXPECT_FALSE(table.LoadFromFile(dir_ / "absent.txt"));
    EXPECT_EQ(table.TextOf("1"), "one");
}

// The table the program carries: every row a key of event code and qualifier, a Russian text,
// and two colours in the stored notation.
TEST(EventMessageTable, EveryRowIsWellFormed)
{
    const TMsgFile table = LoadEventMessageTable();
    ASSERT_GT(table.RowCount(), 50u);
    std::set<std::string> keys;
    for (std::size_t row = 0; row < table.RowCount(); ++row) {
        const std::string key = table.Cell(row, 0);
        ASSERT_EQ(table.ColCount(row), 4u) << key;
        EXPECT_TRUE(key.size() == 4 && key.find_first_not_of("0123456789") == std::string::npos &&
                    (key.back() == '1' || key.back() == '3'))
            << key;
        EXPECT_TRUE(keys.insert(key).second) << "duplicate " << key;
        EXPECT_NE(table.TextOf(key), " ") << key;
        for (std::size_t field : {2u, 3u}) {
            const std::string colour = table.Cell(row, field);
            const bool hex = colour.size() == 7 && colour[0] == '$' &&
                             colour.find_first_not_of("0123456789ABCDEF", 1) == std::string::npos;
            const bool decimal =
                !colour.empty() && colour.find_first_not_of("0123456789") == std::string::npos;
            EXPECT_TRUE(hex || decimal) << key << " field " << field << ": " << colour;
        }
    }
    EXPECT_EQ(table.TextOf("1301"), "Тревога проникновения");
    EXPECT_EQ(table.BackColorOf("1301"), 0xC0C0FF);
    EXPECT_EQ(table.TextOf("4013"), "Постановка на охрану пользователем");
}

} // namespace
} // namespace nvx
