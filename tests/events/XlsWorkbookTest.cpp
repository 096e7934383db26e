#include "events/XlsWorkbook.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace nvx {
namespace {

namespace fs = std::filesystem;

// Dumps a workbook as xlrd reads it: per sheet its name and size, then every non-empty cell.
constexpr const char* kDumpScript = R"(import sys, xlrd
sys.stdout.reconfigure(encoding="utf-8")
book = xlrd.open_workbook(sys.argv[1])
for sheet in book.sheets():
    print("sheet", sheet.name, sheet.nrows, sheet.ncols, sep="\t")
    for r in range(sheet.nrows):
        for c, value in enumerate(sheet.row_values(r)):
            if value != "":
                print(r, c, repr(value), sep="\t")
)";

struct SheetContent {
    std::string name;
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::string> cells; // no empty texts
};

// What kDumpScript prints for these sheets; cell texts here are free of quotes and backslashes.
std::string ExpectedDump(const std::vector<SheetContent>& sheets)
{
    std::string dump;
    for (const SheetContent& sheet : sheets) {
        std::uint32_t rows = 0, columns = 0;
        for (const auto& [at, text] : sheet.cells) {
            rows = std::max(rows, at.first + 1);
            columns = std::max(columns, at.second + 1);
        }
        dump += "sheet\t" + sheet.name + "\t" + std::to_string(rows) + "\t" + std::to_string(columns) + "\n";
        for (const auto& [at, text] : sheet.cells)
            dump += std::to_string(at.first) + "\t" + std::to_string(at.second) + "\t'" + text + "'\n";
    }
    return dump;
}

class XlsWorkbookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::path(testing::TempDir()) /
               ("xls-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        std::ofstream(dir_ / "dump.py") << kDumpScript;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string ReadBack(const fs::path& file) const
    {
        const std::string command = std::string(NVX_XLRD_PYTHON) + " '" + (dir_ / "dump.py").string() +
                                    "' '" + file.string() + "' 2>&1";
        std::FILE* pipe = ::popen(command.c_str(), "r");
        if (!pipe)
            return "cannot run " + command;
        std::string output;
        char buffer[65536];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            output.append(buffer, n);
        ::pclose(pipe);
        return output;
    }

    static XlsWorkbook Build(const std::vector<SheetContent>& sheets)
    {
        XlsWorkbook book;
        for (const SheetContent& sheet : sheets) {
            const auto index = book.AddSheet(sheet.name);
            EXPECT_TRUE(index) << sheet.name;
            for (const auto& [at, text] : sheet.cells)
                EXPECT_TRUE(book.SetText(*index, at.first, at.second, text));
        }
        return book;
    }

    std::vector<fs::path> Files() const { return {fs::directory_iterator(dir_), fs::directory_iterator()}; }

    fs::path dir_;
};

TEST_F(XlsWorkbookTest, SheetsAndCyrillicCellsReadBack)
{
    const std::vector<SheetContent> sheets = {
        {"История",
         {{{0, 0}, "№"},
          {{0, 1}, "Время"},
          {{0, 11}, "Каналы"},
          {{1, 0}, "1"},
          {{1, 2}, "Ошибка"},
          {{2, 2}, "Ошибка"}, // the same string twice
          {{300, 255}, "last column"}}},
        {"List2", {{{0, 0}, "Журнал событий online"}, {{65535, 0}, "last row"}}},
        {"Пустой лист", {}},
    };
    XlsWorkbook book = Build(sheets);
    const fs::path file = dir_ / "Экспорт.xls";
    std::string error;
    ASSERT_TRUE(book.Save(file, &error)) << error;
    EXPECT_EQ(ReadBack(file), ExpectedDump(sheets));
    EXPECT_EQ(Files().size(), 2u); // the workbook and the dump script: no temporary left behind
}

TEST_F(XlsWorkbookTest, CellsCanBeReplacedAndCleared)
{
    XlsWorkbook book;
    ASSERT_TRUE(book.AddSheet("List1"));
    ASSERT_TRUE(book.SetText(0, 0, 0, "first"));
    ASSERT_TRUE(book.SetText(0, 0, 0, "second"));
    ASSERT_TRUE(book.SetText(0, 1, 1, "gone"));
    ASSERT_TRUE(book.SetText(0, 1, 1, ""));
    ASSERT_TRUE(book.SetText(0, 2, 0, "bad \xFF byte \xD0"));
    ASSERT_TRUE(book.Save(dir_ / "b.xls"));
    EXPECT_EQ(ReadBack(dir_ / "b.xls"),
              ExpectedDump({{"List1", {{{0, 0}, "second"}, {{2, 0}, "bad \uFFFD byte \uFFFD"}}}}));
}

// More than 8224 bytes of strings: SST continues in CONTINUE records, and single strings are cut
// across records, including strings of characters outside the BMP (surrogate pairs).
TEST_F(XlsWorkbookTest, LongStringTableReadsBack)
{
    SheetContent many{"Строки", {}};
    for (std::uint32_t i = 0; i < 700; ++i)
        many.cells[{i, 0}] = "Постановка под охрану раздела " + std::to_string(i);
    SheetContent long_{"Длинные", {}};
    std::string cyrillic, astral;
    for (int i = 0; i < 9000; ++i)
        cyrillic += "Ж";
    for (int i = 0; i < 7001; ++i)
        astral += "\U0001F514"; // a bell, two UTF-16 units
    long_.cells[{0, 0}] = cyrillic;
    long_.cells[{0, 1}] = "x" + astral; // odd offset of the pairs against the record ends
    long_.cells[{1, 0}] = astral;
    long_.cells[{2, 0}] = "after the long ones";

    const std::vector<SheetContent> sheets = {many, long_};
    const XlsWorkbook book = Build(sheets);
    std::string error;
    ASSERT_TRUE(book.Save(dir_ / "long.xls", &error)) << error;
    EXPECT_EQ(ReadBack(dir_ / "long.xls"), ExpectedDump(sheets));
}

TEST_F(XlsWorkbookTest, LimitsAreRefusedWithAReason)
{
    XlsWorkbook book;
    struct NameCase {
        std::string name;
        bool accepted;
    };
    const NameCase names[] = {
        {"Лист", true},
        {"ЛИСТ", false}, // names differ in case only
        {"лист", false},
        {std::string(31, 'a'), true},
        {std::string(32, 'b'), false},
        {[] {
             std::string s;
             for (int i = 0; i < 31; ++i)
                 s += "Я";
             return s;
         }(),
         true}, // 31 characters, 62 bytes
        {"", false},
        {"a/b", false},
        {"a[1]", false},
        {"what?", false},
        {"'quoted'", false},
        {"it's", true},
    };
    for (const NameCase& c : names) {
        std::string error;
        EXPECT_EQ(book.AddSheet(c.name, &error).has_value(), c.accepted) << c.name;
        EXPECT_EQ(error.empty(), c.accepted) << c.name;
    }
    ASSERT_EQ(book.SheetCount(), 4u);

    struct CellCase {
        std::size_t sheet;
        std::uint32_t row, column;
        std::size_t length;
        bool accepted;
    };
    const CellCase cells[] = {
        {0, 65535, 0, 1, true}, {2, 0, 255, 1, true},   {0, 65536, 0, 1, false}, {0, 0, 256, 1, false},
        {4, 0, 0, 1, false},    {1, 0, 0, 32767, true}, {1, 0, 1, 32768, false},
    };
    for (const CellCase& c : cells) {
        std::string error;
        EXPECT_EQ(book.SetText(c.sheet, c.row, c.column, std::string(c.length, 'z'), &error), c.accepted)
            << c.sheet << " " << c.row << " " << c.column << " " << c.length;
        EXPECT_EQ(error.empty(), c.accepted);
    }

    ASSERT_TRUE(book.Save(dir_ / "limits.xls"));
    const std::string dump = ReadBack(dir_ / "limits.xls");
    EXPECT_NE(dump.find("sheet\tЛист\t65536\t1\n65535\t0\t'z'\n"), std::string::npos) << dump.substr(0, 500);
    EXPECT_NE(dump.find("\t1\t256\n0\t255\t'z'\n"), std::string::npos) << dump.substr(0, 500);
}

TEST_F(XlsWorkbookTest, FailedSaveLeavesNothingBehind)
{
    std::string error;
    XlsWorkbook empty;
    EXPECT_FALSE(empty.Save(dir_ / "empty.xls", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(fs::exists(dir_ / "empty.xls"));

    XlsWorkbook book = Build({{"List1", {{{0, 0}, "new"}}}});
    error.clear();
    EXPECT_FALSE(book.Save(dir_ / "no-such-folder" / "a.xls", &error));
    EXPECT_FALSE(error.empty());

    // The temporary file is written, but it cannot take the place of a folder.
    fs::create_directory(dir_ / "taken.xls");
    error.clear();
    EXPECT_FALSE(book.Save(dir_ / "taken.xls", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fs::is_directory(dir_ / "taken.xls"));
    EXPECT_EQ(Files().size(), 2u) << "a temporary file was left behind";

    // An existing workbook is replaced whole.
    ASSERT_TRUE(Build({{"Old", {{{0, 0}, "old"}}}}).Save(dir_ / "same.xls"));
    ASSERT_TRUE(book.Save(dir_ / "same.xls", &error)) << error;
    EXPECT_EQ(ReadBack(dir_ / "same.xls"), ExpectedDump({{"List1", {{{0, 0}, "new"}}}}));
}

} // namespace
} // namespace nvx
