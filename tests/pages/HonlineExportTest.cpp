// The online event log's spreadsheet export: sheets of 65,535 rows, texts as the grid holds them,
// a refused cell marked, a folder that cannot take the file, and the page that runs the export
// on its thread and shows how it ended.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>
#include <unistd.h>

#include "HonlineXls.h"
#include "core/OutArray.h"
#include "device/DevVeltra.h"
#include "events/ExportXLS.h"
#include "events/f_honline.h"

using namespace nvx;
using namespace nvx::test;
namespace fs = std::filesystem;

namespace {

class ExportFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::path(testing::TempDir()) /
              ("honline-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::permissions(dir / "locked", fs::perms::owner_all, ignored);
        fs::remove_all(dir, ignored);
    }
    std::vector<std::string> Files(const fs::path& folder) const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        return names;
    }

    fs::path dir;
};

GridRows OneColumnRows(std::size_t count)
{
    GridRows rows;
    rows.reserve(count);
    for (std::size_t r = 0; r < count; ++r)
        rows.push_back({"r" + std::to_string(r)});
    return rows;
}

TEST_F(ExportFolder, RowsFillSheetsOf65535RowsAndASheetBeyondTheLastFullOne)
{
    struct Case {
        std::size_t rows;
        std::vector<std::size_t> sheetRows;
    };
    const std::vector<Case> cases = {
        {3, {3}},
        {65534, {65534}},
        {65535, {65535, 0}},
        {70000, {65535, 4465}},
    };
    for (const Case& c : cases) {
        const fs::path file = dir / ("rows" + std::to_string(c.rows) + ".xls");
        std::size_t lastProgress = 0;
        const ExportOutcome outcome = WriteGridWorkbook(OneColumnRows(c.rows), file, [&](std::size_t written, std::size_t total) {
            EXPECT_EQ(total, c.rows);
            EXPECT_EQ(written, lastProgress + kProgressStep);
            lastProgress = written;
        });
        ASSERT_TRUE(outcome.saved) << outcome.error;
        EXPECT_EQ(outcome.rows, c.rows);
        EXPECT_EQ(lastProgress, c.rows / kProgressStep * kProgressStep);

        std::string error;
        const std::vector<XlsSheet> sheets = ReadWorkbook(file, error);
        ASSERT_EQ(sheets.size(), c.sheetRows.size()) << c.rows << " rows: " << error;
        std::size_t next = 0;
        for (std::size_t s = 0; s < sheets.size(); ++s) {
            EXPECT_EQ(sheets[s].name, "List" + std::to_string(s + 1));
            ASSERT_EQ(sheets[s].rows.size(), c.sheetRows[s]) << c.rows << " rows, sheet " << s + 1;
            if (!sheets[s].rows.empty()) {
                EXPECT_EQ(sheets[s].rows.front(), std::vector<std::string>{"r" + std::to_string(next)});
                next += sheets[s].rows.size();
                EXPECT_EQ(sheets[s].rows.back(), std::vector<std::string>{"r" + std::to_string(next - 1)});
            }
        }
    }
}

TEST_F(ExportFolder, TextsComeBackAsTheGridHeldThemAndARefusedCellIsMarked)
{
    const GridRows rows = {
        {"№", "Время события", "Тип устройства", "Номер устройства", "Тип события", "Событие", "Ослабление сигнала, dBm"},
        {"1", "11.12.2026 13:23:09", "Датчик", "5", "Тревога", "Основной; Тампер", "-85"},
        {"2", "11.12.2026 13:23:10", "Радиореле", "3", "Автотест", "", "-20"},
        {"3", "11.12.2026 13:23:11", "Брелок", "10", "Нажата кнопка", std::string(40000, 'x'), "-60"},
        {"4", "11.12.2026 13:23:12", "Клавиатура", "1", "Нажата кнопка", "#", "-61"},
    };
    const fs::path file = dir / "Журнал.xls";
    const ExportOutcome outcome = WriteGridWorkbook(rows, file);
    ASSERT_TRUE(outcome.saved) << outcome.error;
    EXPECT_EQ(outcome.cellsMarked, 1u);

    GridRows expected = rows;
    expected[3][5] = "Ошибка";
    std::string error;
    const std::vector<XlsSheet> sheets = ReadWorkbook(file, error);
    ASSERT_EQ(sheets.size(), 1u) << error;
    EXPECT_EQ(sheets[0].rows, expected);
}

TEST_F(ExportFolder, AFolderThatCannotTakeTheFileFailsAndLeavesNothing)
{
    std::ofstream(dir / "plain") << "not a folder";
    fs::create_directories(dir / "locked");
    fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    struct Case {
        const char* what;
        fs::path file;
        fs::path folderToCheck;
    };
    std::vector<Case> cases = {
        {"missing folder", dir / "missing" / "log.xls", dir},
        {"a file where the folder should be", dir / "plain" / "log.xls", dir},
    };
    // Permissions do not stop the superuser: the case only means something for other users.
    if (::access((dir / "locked").c_str(), W_OK) != 0)
        cases.push_back({"read-only folder", dir / "locked" / "log.xls", dir / "locked"});

    for (const Case& c : cases) {
        const std::vector<std::string> before = Files(c.folderToCheck);
        const ExportOutcome outcome = WriteGridWorkbook(OneColumnRows(10), c.file);
        EXPECT_FALSE(outcome.saved) << c.what;
        EXPECT_FALSE(outcome.error.empty()) << c.what;
        EXPECT_FALSE(fs::exists(c.file)) << c.what;
        EXPECT_EQ(Files(c.folderToCheck), before) << c.what;
    }
}

// The page with a device of its own; the test thread is the interface thread.
class ExportPage : public ExportFolder {
protected:
    void Fill(int rows)
    {
        for (int n = 0; n < rows; ++n)
            page->DecodeOnlineEvent("01Z" + std::string(n % 2 ? "05" : "1F") + "01\r\n-" + std::to_string(50 + n % 40));
        queue.Drain({});
    }
    // Serves the export's report of its end.
    bool WaitForExport()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (page->Exporting() && std::chrono::steady_clock::now() < deadline) {
            device.Calls().RunPending();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return !page->Exporting();
    }

    TOutArray queue;
    TDevVeltra device{queue};
    std::unique_ptr<TformHonline> page = std::make_unique<TformHonline>(device);
};

TEST_F(ExportPage, Button1ExportsWhatTheChooserNamesAndSaysHowItEnded)
{
    std::ofstream(dir / "plain") << "not a folder";
    struct Case {
        const char* what;
        std::optional<fs::path> chosen;
        bool written;
        std::string messageStart;
        std::string colour;
    };
    const std::vector<Case> cases = {
        {"saved", dir / "log.xls", true, "Журнал сохранён в файл «" + (dir / "log.xls").string() + "», строк: 4",
         "clBlue"},
        {"unwritable", dir / "plain" / "log.xls", false,
         "Не удалось сохранить журнал в файл «" + (dir / "plain" / "log.xls").string() + "»: ", "clRed"},
        {"cancelled", std::nullopt, false, "", "clWindowText"},
    };
    Fill(3);
    const GridRows grid = page->Form().get(TformHonline::kGrid).cells;
    ASSERT_EQ(grid.size(), 4u);
    for (const Case& c : cases) {
        page->Form().setText("lbExport", "");
        page->Form().setFontColor("lbExport", "clWindowText");
        page->SetExportFileChooser([&] { return c.chosen; });
        page->Form().trigger("Button1");
        EXPECT_EQ(page->Exporting(), c.chosen.has_value()) << c.what;
        EXPECT_EQ(page->Form().enabled("Button1"), !c.chosen.has_value()) << c.what;
        ASSERT_TRUE(WaitForExport()) << c.what;

        EXPECT_TRUE(page->Form().enabled("Button1")) << c.what;
        EXPECT_TRUE(page->Form().text("lbExport").starts_with(c.messageStart))
            << c.what << ": " << page->Form().text("lbExport");
        EXPECT_EQ(page->Form().get("lbExport").fontColor, c.colour) << c.what;
        if (c.chosen) {
            EXPECT_EQ(fs::exists(*c.chosen), c.written) << c.what;
        }
        if (c.written) {
            std::string error;
            const std::vector<XlsSheet> sheets = ReadWorkbook(*c.chosen, error);
            ASSERT_EQ(sheets.size(), 1u) << error;
            EXPECT_EQ(sheets[0].rows, grid);
        }
    }
}

TEST_F(ExportPage, RowsArrivingDuringTheExportStayOutOfTheFile)
{
    Fill(2);
    ASSERT_TRUE(page->StartExport(dir / "first.xls"));
    EXPECT_FALSE(page->StartExport(dir / "second.xls"));  // one export at a time
    Fill(5);
    ASSERT_TRUE(WaitForExport());
    std::string error;
    const std::vector<XlsSheet> sheets = ReadWorkbook(dir / "first.xls", error);
    ASSERT_EQ(sheets.size(), 1u) << error;
    EXPECT_EQ(sheets[0].rows.size(), 3u);
    EXPECT_FALSE(fs::exists(dir / "second.xls"));
}

TEST_F(ExportPage, ClosingThePageDuringAnExportCompletesTheFile)
{
    GridRows rows = OneColumnRows(70000);
    page->Form().update(TformHonline::kGrid, [&](Control& grid) { grid.cells = rows; });
    ASSERT_TRUE(page->StartExport(dir / "closing.xls"));
    page.reset();  // the interface thread never serves the export's report

    std::string error;
    const std::vector<XlsSheet> sheets = ReadWorkbook(dir / "closing.xls", error);
    ASSERT_EQ(sheets.size(), 2u) << error;
    EXPECT_EQ(sheets[0].rows.size() + sheets[1].rows.size(), rows.size());
}

}  // namespace
