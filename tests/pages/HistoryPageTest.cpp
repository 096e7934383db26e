// The history page without a panel: its keys in the settings file, the defaults of its columns, and
// what its buttons do while no link exists.
#include <gtest/gtest.h>

#include <filesystem>

#include "device/PageDirectory.h"
#include "events/f_history.h"
#include "shell/Session.h"

using namespace nvx;

namespace {

TformHistory& HistoryPage(Session& session)
{
    return static_cast<TformHistory&>(*session.Page(page_id::kHistory));
}

std::vector<int> Widths(const TformHistory& page)
{
    std::vector<int> widths;
    for (std::size_t column = 0; column < kHistoryColumnCount; ++column)
        widths.push_back(page.ColumnWidth(column));
    return widths;
}

const std::vector<int> kDefaults(TformHistory::kDefaultWidths.begin(), TformHistory::kDefaultWidths.end());

} // namespace

TEST(HistoryPage, KeepsItsSwitchesAndColumnWidthsInTheSettingsFile)
{
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> keys; // [formHistory] or "FormNSPoint/nspoint"
        bool textFileButton;
        bool positionField;
        std::vector<int> widths;
    };
    std::vector<int> wideCode = kDefaults;
    wideCode[3] = 77;
    const Case cases[] = {
        {"nothing stored", {}, false, false, kDefaults},
        {"text file and position unlocked",
         {{"HistoryInFile", "1"}, {"FormNSPoint/nspoint", "1"}, {"width3", "77"}},
         true,
         true,
         wideCode},
        {"other values keep them hidden",
         {{"HistoryInFile", "yes"}, {"FormNSPoint/nspoint", "0"}},
         false,
         false,
         kDefaults},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Session session;
        TformHistory& page = HistoryPage(session);
        IniFile ini(std::filesystem::path(testing::TempDir()) / "history-state.ini");
        for (const auto& [key, value] : c.keys) {
            const auto slash = key.find('/');
            if (slash == std::string::npos)
                ini.WriteString("formHistory", key, value);
            else
                ini.WriteString(key.substr(0, slash), key.substr(slash + 1), value);
        }
        page.LoadState(ini);
        EXPECT_EQ(page.Form().visible("btnStart"), c.textFileButton);
        EXPECT_EQ(page.Form().visible("Button4"), c.positionField);
        EXPECT_EQ(page.Form().visible("Edit1"), c.positionField);
        EXPECT_EQ(Widths(page), c.widths);

        IniFile saved(std::filesystem::path(testing::TempDir()) / "history-saved.ini");
        page.SaveState(saved);
        EXPECT_EQ(saved.ReadString("formHistory", "HistoryInFile", "?"), c.textFileButton ? "1" : "0");
        for (std::size_t column = 0; column < kHistoryColumnCount; ++column)
            EXPECT_EQ(saved.ReadInteger("formHistory", "width" + std::to_string(column), -1),
                      c.widths[column]);
        EXPECT_FALSE(saved.ValueExists("FormNSPoint", "nspoint")); // only read

        page.SetDefaults();
        EXPECT_EQ(Widths(page), kDefaults);
    }
}

TEST(HistoryPage, WithoutALinkTheButtonsOnlyEmptyThePage)
{
    Session session;
    TformHistory& page = HistoryPage(session);
    FormModel& form = page.Form();
    int questions = 0;
    const auto countQuestion = [&](TformHistory::Question, const std::string&) {
        ++questions;
        return true;
    };
    page.SetDialogs({countQuestion, {}});
    const auto fill = [&] { form.update("StringGrid1", [](Control& grid) { grid.cells[5][2] = "1234"; }); };
    for (const char* button : {"btnClear", "btnBackward", "Button2", "Button4"}) {
        SCOPED_TRACE(button);
        fill();
        form.trigger(button);
        const Control grid = form.get("StringGrid1");
        ASSERT_EQ(grid.cells.size(), static_cast<std::size_t>(TformHistory::kGridRows));
        EXPECT_EQ(grid.cells[0][0], "№");
        EXPECT_EQ(grid.cells[0][11], "Каналы");
        EXPECT_EQ(grid.cells[5][2], "");
    }
    EXPECT_EQ(questions, 0); // erasing is asked for only with a link

    form.setText("Edit1", "ff0a");
    EXPECT_EQ(form.text("Edit1"), "FF0A");
}
