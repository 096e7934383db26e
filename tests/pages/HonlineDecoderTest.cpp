// The online event log: what each kind of event line becomes, and the page that lists the rows:
// the duplicate filter, bad lines among good ones, clearing, the listening switch, column widths.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/IniFile.h"
#include "core/OutArray.h"
#include "device/DevVeltra.h"
#include "events/OnlineEvent.h"
#include "events/f_honline.h"

using namespace nvx;

namespace {

constexpr const char* kTime = "11.12.2026 13:23:09";

// A row as the grid shows it, without the time: type, number, event type, event, level.
using Row = std::vector<std::string>;

std::vector<Row> Decode(const std::string& payload, const std::string& signal = "-60")
{
    std::vector<Row> rows;
    for (const OnlineEventRow& r : DecodeEventRows(payload + "\r\n" + signal, kTime)) {
        EXPECT_EQ(r.time, kTime);
        rows.push_back({r.deviceType, r.number, r.eventType, r.event, r.level});
    }
    return rows;
}

struct DecodeCase {
    const char* what;
    std::string payload;
    std::vector<Row> rows;
};

class DecodeTable : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTable, RowsAsTheEventSays)
{
    EXPECT_EQ(Decode(GetParam().payload), GetParam().rows) << GetParam().what;
}

const std::string kPressed = "Нажата кнопка";

INSTANTIATE_TEST_SUITE_P(
    Events, DecodeTable,
    ::testing::Values(
        // Radio sensors: alarm and restore bits give a row each, autotest one row.
        DecodeCase{"sensor alarm", "01Z0501", {{"Датчик", "5", "Тревога", "Основной", "-60"}}},
        DecodeCase{"sensor alarm and restore",
                   "01Z0533",
                   {{"Датчик", "5", "Тревога", "Основной; Тампер", "-60"},
                    {"Датчик", "5", "Восстановление", "Основной; Тампер", "-60"}}},
        DecodeCase{"sensor restore, kind letter in lower case", "01z2010",
                   {{"Датчик", "32", "Восстановление", "Основной", "-60"}}},
        DecodeCase{"sensor autotest failed", "01Z05FF", {{"Датчик", "5", "Автотест", "Автотест не прошел", "-60"}}},
        DecodeCase{"sensor autotest faults", "01Z058E",
                   {{"Датчик", "5", "Автотест", "Тампер; Шлейф; Батарея", "-60"}}},
        DecodeCase{"sensor report without a known bit", "01Z0508", {}},
        // Radio relays.
        DecodeCase{"relay autotest, nothing wrong", "01R0380", {{"Радиореле", "3", "Автотест", "", "-60"}}},
        DecodeCase{"relay autotest faults", "01R038E", {{"Радиореле", "3", "Автотест", "Тампер; Шлейф; CPW", "-60"}}},
        DecodeCase{"relay alarm and restore",
                   "01R0311",
                   {{"Радиореле", "3", "Тревога", "CPW", "-60"}, {"Радиореле", "3", "Восстановление", "CPW", "-60"}}},
        // Keyfobs: the lowest of the three bits wins.
        DecodeCase{"keyfob disarm", "01B0A02", {{"Брелок", "10", kPressed, "Снятие с охраны", "-60"}}},
        DecodeCase{"keyfob arm", "01B0A07", {{"Брелок", "10", kPressed, "Постановка под охрану", "-60"}}},
        DecodeCase{"keyfob alarm", "01B0A04", {{"Брелок", "10", kPressed, "Тревога", "-60"}}},
        DecodeCase{"keyfob unknown button", "01B0A08", {{"Брелок", "10", kPressed, "РАСШИФРОВКЕ", "-60"}}},
        // Keypads: the key characters.
        DecodeCase{"keypad hash", "01K01#1", {{"Клавиатура", "1", kPressed, "#", "-60"}}},
        DecodeCase{"keypad digit", "01K0171", {{"Клавиатура", "1", kPressed, "7", "-60"}}},
        DecodeCase{"keypad autotest", "01K01A1", {{"Клавиатура", "1", "Автотест", "", "-60"}}},
        DecodeCase{"keypad autotest tamper", "01K01A2", {{"Клавиатура", "1", "Автотест", "Тампер", "-60"}}},
        DecodeCase{"keypad fire", "01K01F1", {{"Клавиатура", "1", kPressed, "Пожарная тревога", "-60"}}},
        DecodeCase{"keypad autotest failed", "01K01FF", {{"Клавиатура", "1", "Автотест", "Автотест не прошел", "-60"}}},
        DecodeCase{"keypad tamper", "01K01T0", {{"Клавиатура", "1", "Тревога", "Тампер", "-60"}}},
        DecodeCase{"keypad tamper restored", "01K01t0", {{"Клавиатура", "1", "Восстановление", "Тампер", "-60"}}},
        DecodeCase{"keypad bypass", "01K01b0", {{"Клавиатура", "1", kPressed, "Обход", "-60"}}},
        DecodeCase{"keypad unknown key", "01K01x0", {{"Клавиатура", "1", kPressed, "РАСШИФРОВКЕ", "-60"}}},
        // Relay output states: one row per output.
        DecodeCase{"relay state",
                   "01R024012C0F5",
                   {{"Радиореле", "2", "Реле 1: Текущее состояние", "Включено", "-60"},
                    {"Радиореле", "2", "Реле 2: Текущее состояние", "Переключается с частотой в 1Гц", "-60"},
                    {"Радиореле", "2", "Реле 3: Текущее состояние", "Включить на 10 секунд", "-60"},
                    {"Радиореле", "2", "Реле 4: Текущее состояние", "Выключено", "-60"},
                    {"Радиореле", "2", "Реле 5: Текущее состояние", "Включено на миг", "-60"},
                    {"Радиореле", "2", "Реле 6: Текущее состояние", "Переключается с частотой в 0,5Гц", "-60"}}},
        DecodeCase{"relay state, unknown reason and state characters repeating the previous output",
                   "01R0207X0X1X2",
                   {{"Радиореле", "2", "Реле 1: Неизвестное событие", "РАСШИФРОВКЕ", "-60"},
                    {"Радиореле", "2", "Реле 2: Неизвестное событие", "Выключено", "-60"},
                    {"Радиореле", "2", "Реле 3: Неизвестное событие", "Выключено", "-60"},
                    {"Радиореле", "2", "Реле 4: Неизвестное событие", "Включено", "-60"},
                    {"Радиореле", "2", "Реле 5: Неизвестное событие", "Включено", "-60"},
                    {"Радиореле", "2", "Реле 6: Неизвестное событие", "Переключается с частотой в 1Гц", "-60"}}},
        // Unreadable fields.
        DecodeCase{"sensor alarm with an unreadable number is still shown", "01ZG501",
                   {{"Датчик", "-1", "Тревога", "Основной", "-60"}}},
        DecodeCase{"sensor autotest with an unreadable number is not", "01ZG580", {}},
        DecodeCase{"keyfob with an unreadable number", "01BG502", {}},
        DecodeCase{"keypad with an unreadable number", "01KG5#1", {}},
        // An unreadable event code would read as every bit set: it is marked instead.
        DecodeCase{"keyfob with an unreadable event code", "01B0AX2", {{"Брелок", "10", kPressed, "Ошибка", "-60"}}},
        DecodeCase{"sensor with an unreadable event code", "01Z05X1",
                   {{"Датчик", "5", "Неизвестное событие", "Ошибка", "-60"}}},
        DecodeCase{"relay with an unreadable event code", "01R03-1",
                   {{"Радиореле", "3", "Неизвестное событие", "Ошибка", "-60"}}},
        // Lines that are no event of a known form.
        DecodeCase{"unknown device letter", "01X0501", {}},
        DecodeCase{"six characters", "01Z050", {}},
        DecodeCase{"eight characters", "01Z05011", {}},
        DecodeCase{"empty payload", "", {}},
        DecodeCase{"a Cyrillic letter is one character of the line", "01Z05Ж1",
                   {{"Датчик", "5", "Неизвестное событие", "Ошибка", "-60"}}},
        DecodeCase{"a Cyrillic letter in the number", "01Z0Ж01", {{"Датчик", "-1", "Тревога", "Основной", "-60"}}}),
    [](const ::testing::TestParamInfo<DecodeCase>& info) { return "case" + std::to_string(info.index); });

TEST(OnlineEventLevel, SignalValueAsShown)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"-85", "-85"},  {"-120", "-20"}, {"-110", "-110"}, {"-111", "-11"}, {"-95:3", "-95"},
        {"0", "0"},      {"-", "0"},      {"abc", "0"},     {"", "0"},       {" -70 ", "-70"},
        {"-99999999999999999999", "0"},
    };
    for (const auto& [line, shown] : cases)
        EXPECT_EQ(SignalLevelText(line), shown) << "[" << line << "]";
}

TEST(OnlineEventLevel, AnInputWithoutItsSignalLineGivesNoRow)
{
    EXPECT_TRUE(DecodeEventRows("01Z0501", kTime).empty());
    EXPECT_TRUE(DecodeEventRows("01Z0501\r\n", kTime).empty());
    EXPECT_EQ(DecodeEventRows("01Z0501\n-70", kTime).size(), 1u);
}

// The page with a device and queue of its own; Drain shows what the decoder queued.
class OnlineLogPage : public ::testing::Test {
protected:
    void Feed(const std::string& payload, const std::string& signal = "-60")
    {
        page.DecodeOnlineEvent(payload + "\r\n" + signal);
    }
    std::vector<std::vector<std::string>> Grid()
    {
        queue.Drain({});
        return page.Form().get(TformHonline::kGrid).cells;
    }
    // The rows below the headers as type, number, event type, event, level, after checking the
    // row number and the time column.
    std::vector<Row> Shown()
    {
        const auto grid = Grid();
        std::vector<Row> rows;
        for (std::size_t r = 1; r < grid.size(); ++r) {
            if (grid.size() == 2 && grid[1][0].empty())
                break;  // the unused first row
            EXPECT_EQ(grid[r].size(), kOnlineLogColumns);
            EXPECT_EQ(grid[r][0], std::to_string(r));
            EXPECT_EQ(grid[r][1].size(), std::string(kTime).size()) << grid[r][1];
            rows.push_back(Row(grid[r].begin() + 2, grid[r].end()));
        }
        return rows;
    }

    TOutArray queue;
    TDevVeltra device{queue};
    TformHonline page{device};
};

TEST_F(OnlineLogPage, StartsWithHeadersAndOneEmptyRow)
{
    const auto grid = Grid();
    ASSERT_EQ(grid.size(), 2u);
    EXPECT_EQ(grid[0], std::vector<std::string>(kOnlineLogHeaders.begin(), kOnlineLogHeaders.end()));
    EXPECT_EQ(grid[1], std::vector<std::string>(kOnlineLogColumns));
    EXPECT_EQ(page.Form().text("btnCon"), TformHonline::kListenCaption);
    EXPECT_FALSE(page.Form().enabled("btnCon"));
}

TEST_F(OnlineLogPage, TheDeviceHandsItsEventsToThePage)
{
    device.DecodeEvent("01Z0501\r\n-85");
    EXPECT_EQ(Shown(), (std::vector<Row>{{"Датчик", "5", "Тревога", "Основной", "-85"}}));
}

TEST_F(OnlineLogPage, DuplicateFilterDropsOnlyARepeatOfTheLastInputWhileOn)
{
    struct Case {
        bool filter;
        std::vector<std::pair<std::string, std::string>> inputs;
        std::size_t rows;
    };
    const std::vector<Case> cases = {
        {false, {{"01Z0501", "-60"}, {"01Z0501", "-60"}}, 2},
        {true, {{"01Z0501", "-60"}, {"01Z0501", "-60"}}, 1},
        {true, {{"01Z0501", "-60"}, {"01Z0501", "-61"}}, 2},  // the signal is part of the input
        {true, {{"01Z0501", "-60"}, {"01Z0601", "-60"}, {"01Z0501", "-60"}}, 3},
    };
    for (const Case& c : cases) {
        Grid();
        page.ClearTable();
        device.filterMode = c.filter;
        for (const auto& [payload, signal] : c.inputs)
            Feed(payload, signal);
        EXPECT_EQ(Shown().size(), c.rows) << "filter " << c.filter << ", " << c.inputs.size() << " inputs";
        Feed("01B0101");  // a different input ends the run of each case
    }
}

TEST_F(OnlineLogPage, BadLinesAmongGoodOnesCostNoGoodRow)
{
    const std::string binary("\x01\xff\x00\x7f", 4);
    const std::vector<std::string> inputs = {
        "01Z0501\r\n-61",
        "01Z050\r\n-62",                      // too short
        std::string(300, 'Z') + "\r\n-63",    // far too long
        binary + "\r\n" + binary,             // not text
        "\r\n\r\n",                           // empty lines
        "01Z0501",                            // no signal line
        "01Q0501\r\n-64",                     // unknown device
        "01R0380\r\n-65",                     // good, with an empty event
        "01BZZ02\r\n-66",                     // keyfob without a number
        "01B0302\r\n-67:9\r\nextra line",     // good; a third line is not looked at
    };
    for (const std::string& input : inputs)
        page.DecodeOnlineEvent(input);
    EXPECT_EQ(Shown(), (std::vector<Row>{{"Датчик", "5", "Тревога", "Основной", "-61"},
                                         {"Радиореле", "3", "Автотест", "", "-65"},
                                         {"Брелок", "3", kPressed, "Снятие с охраны", "-67"}}));
}

TEST_F(OnlineLogPage, ClearLeavesTheHeadersAndNumbersFromOneAgain)
{
    Feed("01Z0501");
    Feed("01Z0601");
    ASSERT_EQ(Shown().size(), 2u);
    const int clears = page.ClearCount();
    page.Form().trigger("btnClear");
    EXPECT_EQ(page.ClearCount(), clears + 1);
    EXPECT_TRUE(Shown().empty());
    Feed("01Z0701");
    EXPECT_EQ(Shown(), (std::vector<Row>{{"Датчик", "7", "Тревога", "Основной", "-60"}}));
}

TEST_F(OnlineLogPage, ListeningNeedsALinkAndTheCaptionFollowsTheFlag)
{
    page.Form().trigger("btnCon");
    EXPECT_FALSE(device.onlineLogConnected);
    EXPECT_EQ(page.Form().text("btnCon"), TformHonline::kListenCaption);

    // The connect command resets the flag and then enables the button.
    device.onlineLogConnected = true;
    page.Form().setEnabled("btnCon", true);
    EXPECT_EQ(page.Form().text("btnCon"), TformHonline::kStopListeningCaption);
    device.onlineLogConnected = false;
    page.Form().setEnabled("btnCon", false);
    EXPECT_EQ(page.Form().text("btnCon"), TformHonline::kListenCaption);
}

TEST_F(OnlineLogPage, FilterIndicatorFollowsTheDevice)
{
    EXPECT_EQ(page.Form().text("lbFilter"), "Режим фильтрации отключен");
    device.filterMode = true;
    page.SyncWithDevice();
    EXPECT_EQ(page.Form().text("lbFilter"), "Режим фильтрации включен");
}

TEST_F(OnlineLogPage, ColumnWidthsAreKeptInTheSettingsFile)
{
    IniFile ini(std::filesystem::path(testing::TempDir()) / "honline-widths.ini");
    page.LoadState(ini);
    for (std::size_t c = 0; c < kOnlineLogColumns; ++c)
        EXPECT_EQ(page.ColumnWidth(c), TformHonline::kDefaultWidths[c]);

    page.SetColumnWidth(1, 140);
    page.SaveState(ini);
    for (std::size_t c = 0; c < kOnlineLogColumns; ++c)
        EXPECT_TRUE(ini.ValueExists("formHonline", "width" + std::to_string(c))) << c;
    EXPECT_EQ(ini.ReadInteger("formHonline", "width1", 0), 140);

    ini.WriteString("formHonline", "width6", "wide");
    TformHonline other(device);
    other.LoadState(ini);
    EXPECT_EQ(other.ColumnWidth(1), 140);
    EXPECT_EQ(other.ColumnWidth(6), TformHonline::kDefaultWidths[6]);
}

}  // namespace
