// The history page end to end: the shell, the link and the page against the emulated panel's event
// history on a pty, checking the commands on the wire, what the grid shows, the text file, the two
// spreadsheet exports and the erase.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <sstream>
#include <thread>

#include "PanelPageDriver.h"
#include "device/PageDirectory.h"
#include "events/f_history.h"

using namespace nvx;
using namespace nvx::test;
using namespace std::chrono_literals;

namespace fs = std::filesystem;

namespace {

constexpr const char* kBrokenLine = "ОШИБКА! Цифровое соединение разорвано!";

// The program connected to an emulated panel with an event history, showing the history page.
// Channel 1 is an SMS channel, so delivery paths read "1:SMS; ".
class HistoryPanel : public PanelPageDriver<TformHistory> {
public:
    explicit HistoryPanel(const std::vector<std::string>& arguments)
        : PanelPageDriver(page_id::kHistory, arguments,
                          {"--set", "h0=+79001112233", "--set", "D=03", "--set", "AND0=0"})
    {
        Open();
    }

    std::string cell(int row, int column) { return form().get("StringGrid1").cells.at(row).at(column); }
    std::vector<std::vector<std::string>> grid() { return form().get("StringGrid1").cells; }

    // Runs a command that sets a job and waits until the job has run and its results show. The queue
    // is applied every 100 ms as the window does, so the link runs ahead of what the page shows; the
    // log is kept across commands.
    bool Run(const std::function<void()>& command)
    {
        MarkWire();
        command();
        const auto deadline = std::chrono::steady_clock::now() + 60s;
        while (d.session.Link() && d.session.Link()->Job() != 0) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(100ms);
            d.session.Tick();
        }
        d.session.Tick();
        return true;
    }
    bool Read()
    {
        return Run([this] { d.session.ReadPageCommand(); });
    }
    bool Press(const char* button)
    {
        return Run([this, button] { form().trigger(button); });
    }

    // Only the history's own commands.
    std::vector<std::string> HistorySent() const { return SentStartingWith({"+F", "+fer"}); }
};

std::string Hex4(unsigned number)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04X", number & 0xFFFF);
    return text;
}

// "+fer" for `count` records from `first` on, wrapping at 65536.
std::vector<std::string> RecordCommands(unsigned first, unsigned count)
{
    std::vector<std::string> commands;
    for (unsigned n = 0; n < count; ++n)
        commands.push_back("+fer" + Hex4(first + n));
    return commands;
}

std::vector<std::string> Joined(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Every non-empty cell of the first sheet as xlrd reads it: (row, column) -> text.
std::map<std::pair<int, int>, std::string> ReadBack(const fs::path& workbook)
{
    const fs::path script = workbook.parent_path() / "dump.py";
    std::ofstream(script) << R"(import sys, xlrd
sys.stdout.reconfigure(encoding="utf-8")
sheet = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)
for r in range(sheet.nrows):
    for c, value in enumerate(sheet.row_values(r)):
        if value != "":
            print(r, c, value.replace("\n", " "), sep="\t")
)";
    const std::string command =
        std::string(NVX_XLRD_PYTHON) + " '" + script.string() + "' '" + workbook.string() + "' 2>&1";
    std::map<std::pair<int, int>, std::string> cells;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return cells;
    std::string output;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    ::pclose(pipe);
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        int row = -1, column = -1;
        std::string text;
        fields >> row >> column;
        fields.get();
        std::getline(fields, text);
        cells[{row, column}] = row < 0 ? line : text;
    }
    return cells;
}

std::map<std::pair<int, int>, std::string> NonEmpty(const std::vector<std::vector<std::string>>& grid)
{
    std::map<std::pair<int, int>, std::string> cells;
    for (std::size_t r = 0; r < grid.size(); ++r)
        for (std::size_t c = 0; c < grid[r].size(); ++c)
            if (!grid[r][c].empty())
                cells[{static_cast<int>(r), static_cast<int>(c)}] = grid[r][c];
    return cells;
}

// The grid row that shows record `number`, or -1.
int RowOf(const std::vector<std::vector<std::string>>& grid, const std::string& number)
{
    for (std::size_t r = 1; r < grid.size(); ++r)
        if (grid[r][0] == number)
            return static_cast<int>(r);
    return -1;
}

// Runs the text file job with the emulator's directory as the working directory.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const fs::path& path) : previous_(fs::current_path())
    {
        fs::current_path(path);
    }
    ~WorkingDirectory() { fs::current_path(previous_); }

private:
    fs::path previous_;
};

} // namespace

TEST(HistoryPty, PagesBackAndForthAskingOnlyForRecordsNotReadYet)
{
    struct Step {
        const char* command; // "read", or the button
        std::vector<std::string> asked;
        std::string row32, row1;   // record numbers shown at the bottom and the top
        std::string position = {}; // typed into the position field first
    };
    struct Case {
        const char* records;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"100",
         {{"btnBackward", {}, "", ""}, // no position yet: the page is only emptied
          {"read", Joined({"+FP"}, RecordCommands(0x44, 32)), "68", "99"},
          {"btnBackward", RecordCommands(0x24, 32), "36", "67"},
          {"Button2", {}, "68", "99"},
          {"Button2", RecordCommands(0x64, 32), "100", "131"}, // beyond the position: empty slots
          {"btnBackward", {}, "68", "99"}}},
        {"16",
         {{"read", Joined({"+FP"}, RecordCommands(0xFFF0, 32)), "65520", "15"},
          {"btnBackward", RecordCommands(0xFFD0, 32), "65488", "65519"},
          {"Button4", RecordCommands(0x10, 32), "16", "47", "30"}, // the read cache starts again
          {"btnBackward", RecordCommands(0xFFF0, 32), "65520", "15"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("--history ") + c.records);
        HistoryPanel h({"--history", c.records});
        ASSERT_TRUE(h.connected) << h.d.session.Splash().text("Panel2");
        for (const Step& step : c.steps) {
            SCOPED_TRACE(step.command);
            if (!step.position.empty())
                h.form().setText("Edit1", step.position);
            ASSERT_TRUE(std::string(step.command) == "read" ? h.Read() : h.Press(step.command));
            EXPECT_EQ(h.HistorySent(), step.asked);
            EXPECT_EQ(h.cell(32, 0), step.row32);
            EXPECT_EQ(h.cell(1, 0), step.row1);
            const bool paged = !step.row1.empty();
            EXPECT_EQ(h.form().enabled("btnBackward"), paged);
            EXPECT_EQ(h.form().enabled("Button2"), paged);
        }
    }
    HistoryPanel h({"--history", "100"});
    ASSERT_TRUE(h.Read());
    const auto sent = h.Sent();
    // The channel names are read before the position.
    EXPECT_LT(std::find(sent.begin(), sent.end(), "+GA") - sent.begin(),
              std::find(sent.begin(), sent.end(), "+FP") - sent.begin());
    EXPECT_EQ(h.cell(1, kColZone), "099");
    EXPECT_EQ(h.cell(1, kColChecksum), "Да");
    EXPECT_EQ(h.cell(1, kColDelivered), "Да");
    EXPECT_EQ(h.cell(1, kColPaths), "1:SMS; ");
    EXPECT_EQ(h.cell(1, kColAlarmRestore), "Тревога");
    EXPECT_EQ(h.cell(1, kColEventText), "Тревога проникновения"); // 99 is event 130
    ASSERT_TRUE(h.Press("btnBackward"));
    ASSERT_TRUE(h.Press("Button2"));
    ASSERT_TRUE(h.Press("Button2"));
    std::vector<int> cached;
    for (const auto& entry : h.page().ReadCache().Snapshot())
        cached.push_back(entry.number);
    std::vector<int> newestFirst;
    for (int n = 131; n >= 36; --n)
        newestFirst.push_back(n);
    EXPECT_EQ(cached, newestFirst);
}

TEST(HistoryPty, FailedAndUndecodableRecordsAreMarkedAndThePageGoesOn)
{
    HistoryPanel h({"--history", "40", "--history-fail", "30:2", "--history-fail", "31", "--history-bad-sum",
                    "29", "--history-uncheckable", "28"});
    ASSERT_TRUE(h.connected);
    ASSERT_TRUE(h.Read()); // records 8 to 39: record j in row 40 - j

    struct Case {
        int record;
        int asked;
        std::string number, account, checksum, delivered;
    };
    const Case cases[] = {
        {30, 3, "30", "1234", "Да", "Да"},  // failed twice, then read
        {31, 3, "", "Ошибка", "", ""},      // failed three times
        {29, 1, "29", "1234", "Нет", "Да"}, // wrong check digit
        {28, 1, "28", "Ошибка", "", ""},    // check digit cannot be computed
        {27, 1, "27", "1234", "Да", "Да"},  // and the page went on
        {8, 1, "8", "1234", "Да", "Да"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record);
        const int row = 40 - c.record;
        EXPECT_EQ(h.Count("+fer" + Hex4(c.record)), c.asked);
        EXPECT_EQ(h.cell(row, kColNumber), c.number);
        EXPECT_EQ(h.cell(row, kColAccount), c.account);
        EXPECT_EQ(h.cell(row, kColChecksum), c.checksum);
        EXPECT_EQ(h.cell(row, kColDelivered), c.delivered);
    }
    EXPECT_EQ(h.cell(40 - 28, kColDateTime), "01/02/10 00:28:16"); // decoded as far as it goes
    EXPECT_EQ(h.cell(40 - 28, kColZone), "028");
    EXPECT_EQ(h.page().ReadCache().Size(), 31u); // all but the failed one

    // Back and forth again: only the record that failed is asked for, and again three times.
    ASSERT_TRUE(h.Press("btnBackward"));
    ASSERT_TRUE(h.Press("Button2"));
    EXPECT_EQ(h.HistorySent(), std::vector<std::string>(3, "+fer001F"));
    EXPECT_EQ(h.cell(40 - 31, kColAccount), "Ошибка");
}

TEST(HistoryPty, BrokenLineMidPageEndsTheReadAndTheLinkCleanly)
{
    HistoryPanel h({"--history", "100", "--reply-delay-ms", "30"});
    ASSERT_TRUE(h.connected);
    h.d.session.ReadPageCommand();
    const auto asked = [&] {
        const std::string wire = h.sim.wireLog();
        int count = 0;
        for (std::size_t at = 0; (at = wire.find("+fer", at)) != std::string::npos; ++at)
            ++count;
        return count;
    };
    ASSERT_TRUE(h.d.ServeUntil([&] { return asked() >= 8; }, 30s));
    h.sim.control("drop");
    ASSERT_TRUE(h.d.ServeUntil([&] { return h.d.session.Link() == nullptr; }, 40s));
    h.d.session.Tick();

    EXPECT_LT(asked(), 32);
    EXPECT_TRUE(h.LogHas(kBrokenLine));
    EXPECT_EQ(h.cell(32, kColNumber), "68");
    EXPECT_EQ(h.cell(32 - 6, kColNumber), "74");
    EXPECT_EQ(h.cell(1, kColNumber), ""); // never reached
    EXPECT_TRUE(h.d.session.MainForm().enabled("tbtnConnect"));
    EXPECT_FALSE(h.d.session.MainForm().enabled("tbtnDisconnect"));
    EXPECT_FALSE(h.form().enabled("btnBackward"));
    EXPECT_FALSE(h.form().enabled("btnClear"));
    EXPECT_FALSE(h.form().visible(TformHistory::kProgress));
    EXPECT_FALSE(h.form().enabled(TformHistory::kStop));
}

TEST(HistoryPty, StopEndsALongRead)
{
    struct Case {
        const char* what;
        std::function<void(HistoryPanel&)> start;
        int records;
    };
    const Case cases[] = {
        {"page", [](HistoryPanel& h) { h.d.session.ReadPageCommand(); }, 32},
        {"text file", [](HistoryPanel& h) { h.form().trigger("btnStart"); }, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HistoryPanel h({"--history", "200", "--reply-delay-ms", "20"});
        ASSERT_TRUE(h.connected);
        WorkingDirectory here(h.sim.directory());
        const std::size_t mark = h.sim.wireLog().size();
        const auto asked = [&] {
            const std::string wire = h.sim.wireLog().substr(mark);
            int count = 0;
            for (std::size_t at = 0; (at = wire.find("+fer", at)) != std::string::npos; ++at)
                ++count;
            return count;
        };
        c.start(h);
        ASSERT_TRUE(
            h.d.ServeUntil([&] { return asked() >= 5 && h.form().enabled(TformHistory::kStop); }, 30s));
        h.form().trigger(TformHistory::kStop);
        ASSERT_TRUE(h.d.WaitForJob());
        h.d.session.Tick();
        EXPECT_LT(asked(), c.records);
        EXPECT_FALSE(h.form().visible(TformHistory::kProgress));
        EXPECT_FALSE(h.form().enabled(TformHistory::kStop));
        EXPECT_TRUE(h.d.session.MainForm().enabled("tbtnDisconnect")); // commands unlocked
        EXPECT_NE(h.d.session.Link(), nullptr);
    }
}

TEST(HistoryPty, TextFileAndExportsHoldWhatThePageShows)
{
    HistoryPanel h(
        {"--history", "5", "--history-fail", "4", "--history-bad-sum", "3", "--history-uncheckable", "2"});
    ASSERT_TRUE(h.connected);
    ASSERT_TRUE(h.Read()); // 65509 to 65535 (empty slots) in rows 32 to 6, records 0 to 4 in rows 5 to 1
    const auto grid = h.grid();
    ASSERT_EQ(h.cell(5, kColNumber), "0");
    ASSERT_EQ(h.cell(1, kColAccount), "Ошибка");
    const fs::path dir = h.sim.directory();

    // The open page: every cell, headers included, Cyrillic intact.
    std::string error;
    ASSERT_TRUE(h.page().ExportOpenPage(dir / "page.xls", error)) << error;
    EXPECT_EQ(ReadBack(dir / "page.xls"), NonEmpty(grid));

    // All records read: newest first, the partition as received, the rest as the page shows it.
    h.page().SetDialogs({{}, [&] { return std::optional<fs::path>(dir / "read.xls"); }});
    h.form().trigger("Button3");
    const auto exported = ReadBack(dir / "read.xls");
    for (std::size_t column = 0; column < kHistoryColumnCount; ++column)
        EXPECT_EQ(exported.at({0, static_cast<int>(column)}), grid[0][column]);
    const std::vector<std::string> order{"3", "2", "1", "0", "65535"};
    for (std::size_t i = 0; i < order.size(); ++i) {
        SCOPED_TRACE(order[i]);
        const int row = RowOf(grid, order[i]);
        ASSERT_GT(row, 0);
        for (std::size_t column = 0; column < kHistoryColumnCount; ++column) {
            const auto found = exported.find({static_cast<int>(i) + 1, static_cast<int>(column)});
            const std::string text = found == exported.end() ? "" : found->second;
            const std::string& shown = grid[row][column];
            if (column == kColPartition && !shown.empty())
                EXPECT_EQ(text, "0" + shown);
            else
                EXPECT_EQ(text, shown) << "column " << column;
        }
    }
    EXPECT_EQ(exported.count({31, 0}), 1u); // 4 records and 27 empty slots, no failed read
    EXPECT_EQ(exported.count({32, 0}), 0u);

    // The whole log in the text file, byte for byte, and each decoded line as the page shows it.
    {
        WorkingDirectory here(dir);
        ASSERT_TRUE(h.Press("btnStart"));
    }
    EXPECT_EQ(h.HistorySent(), Joined({"+FP"}, Joined(std::vector<std::string>(3, "+fer0004"),
                                                      {"+fer0003", "+fer0002", "+fer0001", "+fer0000"})));
    const std::string text = ReadFile(dir / TformHistory::kTextFileName);
    EXPECT_EQ(text, ReadFile(NVX_HISTORY_GOLDEN));
    for (int record = 0; record <= 3; ++record) {
        const auto& row = grid[RowOf(grid, std::to_string(record))];
        EXPECT_NE(text.find(row[kColDateTime] + " " + row[kColMessage]), std::string::npos) << record;
    }
}

TEST(HistoryPty, EraseAsksThreeTimesThenClearsRestartsAndDisconnects)
{
    using Q = TformHistory::Question;
    struct Case {
        const char* what;
        std::vector<bool> answers;
        bool erased;
    };
    const Case cases[] = {
        {"No at the first question", {false}, false},
        {"Cancel at the warning", {true, false}, false},
        {"No at the last question", {true, true, false}, false},
        {"agreed three times", {true, true, true}, true}, // last: it ends the link
    };
    std::vector<bool> waitingShown; // outlives the panel, whose model tells it
    HistoryPanel h({"--history", "40"});
    ASSERT_TRUE(h.connected);
    h.form().subscribe([&](const std::string& name) {
        const bool shown = h.form().visible(TformHistory::kWaitingWindow);
        if (name == TformHistory::kWaitingWindow &&
            (waitingShown.empty() ? shown : shown != waitingShown.back()))
            waitingShown.push_back(shown);
    });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(h.Read());
        ASSERT_GT(h.page().ReadCache().Size(), 0u);
        std::vector<std::pair<Q, std::string>> asked;
        std::size_t next = 0;
        h.page().SetDialogs({[&](Q kind, const std::string& text) {
                                 asked.emplace_back(kind, text);
                                 return c.answers.at(next++);
                             },
                             {}});
        ASSERT_TRUE(h.Press("btnClear"));

        const std::vector<std::pair<Q, std::string>> questions{
            {Q::Confirmation, "Вы уверены, что хотите стереть историю?"},
            {Q::Warning, "Её невозможно будет восстановить!"},
            {Q::Confirmation, "Точно?"}};
        EXPECT_EQ(asked, std::vector(questions.begin(), questions.begin() + c.answers.size()));
        EXPECT_EQ(h.page().ReadCache().Size(), 0u); // emptied whatever the answers
        EXPECT_EQ(h.cell(1, kColNumber), "");
        EXPECT_EQ(h.cell(0, kColNumber), "№");
        if (!c.erased) {
            EXPECT_EQ(h.HistorySent(), std::vector<std::string>{});
            EXPECT_NE(h.d.session.Link(), nullptr);
            continue;
        }
        EXPECT_EQ(h.Sent(), (std::vector<std::string>{"+FH", "+rb"}));
        EXPECT_EQ(h.sim.state().at("history"), "0");
        EXPECT_EQ(h.d.session.Link(), nullptr);
        EXPECT_TRUE(h.d.session.MainForm().enabled("tbtnConnect"));
        EXPECT_EQ(waitingShown, (std::vector<bool>{true, false}));
        EXPECT_FALSE(h.form().enabled("btnClear")); // disconnected
    }
}

TEST(HistoryPty, ARefusedEraseIsReportedAndTheLinkStillEndsCleanly)
{
    HistoryPanel h({"--history", "40", "--reject", "+FH"});
    ASSERT_TRUE(h.connected);
    h.page().SetDialogs({[](TformHistory::Question, const std::string&) { return true; }, {}});
    ASSERT_TRUE(h.Press("btnClear"));

    EXPECT_EQ(h.Sent(), (std::vector<std::string>{"+FH", "+rb"})); // a refusal is an answer: no repeat
    EXPECT_TRUE(h.LogHas("Ошибка при удалении истории!"));
    EXPECT_EQ(h.sim.state().at("history"), "40");
    EXPECT_FALSE(h.form().visible(TformHistory::kWaitingWindow));
    EXPECT_EQ(h.d.session.Link(), nullptr);
    EXPECT_TRUE(h.d.session.MainForm().enabled("tbtnConnect"));
}
