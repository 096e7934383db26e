// The online event log against the panel emulator sending a radio sensor report every 50 ms: the
// page lists each event the link cut out once and in order, exports what it lists, and its
// listening switch starts over with every connection.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "DevSimProcess.h"
#include "HonlineXls.h"
#include "SessionDriver.h"
#include "device/PageDirectory.h"
#include "events/f_honline.h"

using namespace nvx;
using namespace nvx::test;
namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kPanelWithEvents = {"--device", "panel", "--event-form", "device",
                                                   "--events-every-ms", "50"};

struct LoggedEvent {
    std::string payload;
    std::string signal;
};

// The events the link logged as "GET:[payload], INT:[signal]", in order.
std::vector<LoggedEvent> LoggedEvents(const std::vector<std::string>& log)
{
    std::vector<LoggedEvent> events;
    for (const std::string& line : log) {
        const std::size_t get = line.find("GET:[");
        const std::size_t middle = line.find("], INT:[", get);
        if (get == std::string::npos || middle == std::string::npos || !line.ends_with("]"))
            continue;
        events.push_back({line.substr(get + 5, middle - get - 5), line.substr(middle + 8, line.size() - middle - 9)});
    }
    return events;
}

class OnlineLogFlow : public ::testing::Test {
protected:
    TformHonline& Page() { return static_cast<TformHonline&>(*driver.session.Page(page_id::kOnlineLog)); }
    GridRows Grid() { return Page().Form().get(TformHonline::kGrid).cells; }
    bool Connect()
    {
        driver.connected = false;
        return driver.Connect(sim.portPath());
    }

    DevSimProcess sim{kPanelWithEvents};
    SessionDriver driver;
};

TEST_F(OnlineLogFlow, EachEventBecomesOneRowInOrderAndTheExportHoldsTheSameRows)
{
    ASSERT_TRUE(Connect()) << driver.session.Splash().text("Panel2");
    driver.session.SelectPage(page_id::kOnlineLog);
    ASSERT_EQ(driver.session.CurrentPage(), &Page());
    EXPECT_FALSE(driver.session.MainForm().enabled("tbtnRead"));
    EXPECT_FALSE(driver.session.MainForm().enabled("tbtnWrite"));

    ASSERT_TRUE(Page().Form().enabled("btnCon"));
    Page().Form().trigger("btnCon");
    EXPECT_TRUE(driver.session.Device().onlineLogConnected);
    EXPECT_EQ(Page().Form().text("btnCon"), TformHonline::kStopListeningCaption);

    ASSERT_TRUE(driver.ServeUntil([&] { return Grid().size() > 40; }, std::chrono::seconds(30)))
        << "rows: " << Grid().size() - 1;

    // Exports run while events keep arriving; the file holds the rows listed when it started.
    std::ofstream(sim.directory() + "/plain") << "not a folder";
    struct Case {
        const char* what;
        fs::path file;
        bool saved;
    };
    const std::vector<Case> cases = {
        {"writable folder", fs::path(sim.directory()) / "Журнал online.xls", true},
        {"unwritable folder", fs::path(sim.directory()) / "plain" / "log.xls", false},
    };
    for (const Case& c : cases) {
        Page().SetExportFileChooser([&] { return std::optional<fs::path>(c.file); });
        Page().Form().trigger("Button1");
        ASSERT_TRUE(driver.ServeUntil([&] { return !Page().Exporting(); }, std::chrono::seconds(30))) << c.what;
        const std::string message = Page().Form().text("lbExport");
        EXPECT_EQ(message.starts_with("Журнал сохранён в файл"), c.saved) << c.what << ": " << message;
        EXPECT_EQ(message.starts_with("Не удалось сохранить журнал в файл"), !c.saved) << c.what << ": " << message;
        EXPECT_EQ(fs::exists(c.file), c.saved) << c.what;
        if (!c.saved)
            continue;
        std::string error;
        const std::vector<XlsSheet> sheets = ReadWorkbook(c.file, error);
        ASSERT_EQ(sheets.size(), 1u) << error;
        const GridRows grid = Grid();
        ASSERT_GT(sheets[0].rows.size(), 40u);
        ASSERT_LE(sheets[0].rows.size(), grid.size());
        EXPECT_EQ(sheets[0].rows, GridRows(grid.begin(), grid.begin() + sheets[0].rows.size()));
    }

    driver.session.Disconnect();  // everything the link queued is shown once it has ended
    const GridRows grid = Grid();
    const std::vector<LoggedEvent> events = LoggedEvents(driver.log);
    ASSERT_EQ(grid.size() - 1, events.size());
    for (std::size_t i = 0; i < events.size(); ++i) {
        const LoggedEvent& e = events[i];
        ASSERT_EQ(e.payload.size(), 7u) << e.payload;
        // The emulator numbers its events in the first two digits: none is lost or repeated.
        if (i > 0) {
            EXPECT_EQ(std::stoi(e.payload.substr(0, 2), nullptr, 16),
                      (std::stoi(events[i - 1].payload.substr(0, 2), nullptr, 16) + 1) % 256)
                << "event " << i;
        }
        const std::vector<std::string> expected = {
            std::to_string(i + 1),
            grid[i + 1][1],
            "Датчик",
            std::to_string(std::stoi(e.payload.substr(3, 2), nullptr, 16)),
            e.payload.substr(5, 2) == "01" ? "Тревога" : "Восстановление",
            "Основной",
            e.signal,
        };
        EXPECT_EQ(grid[i + 1], expected) << "row " << i + 1 << " from " << e.payload;
    }
}

TEST_F(OnlineLogFlow, ListeningIsOffAgainAfterAReconnectAndTheRowsStay)
{
    ASSERT_TRUE(Connect());
    driver.session.SelectPage(page_id::kOnlineLog);
    Page().Form().trigger("btnCon");
    ASSERT_TRUE(driver.ServeUntil([&] { return Grid().size() > 5; }, std::chrono::seconds(30)));

    driver.session.Disconnect();
    EXPECT_FALSE(Page().Form().enabled("btnCon"));
    const std::size_t rows = Grid().size();

    ASSERT_TRUE(Connect());
    EXPECT_TRUE(Page().Form().enabled("btnCon"));
    EXPECT_FALSE(driver.session.Device().onlineLogConnected);
    EXPECT_EQ(Page().Form().text("btnCon"), TformHonline::kListenCaption);
    EXPECT_GE(Grid().size(), rows);
}

}  // namespace
