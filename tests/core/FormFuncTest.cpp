#include "core/FormFunc.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace nvx {
namespace {

using Rows = std::vector<std::vector<std::string>>;

class Interpreter : public ::testing::Test {
protected:
    Interpreter()
    {
        targets.appendLog = [this](const std::string& line) { log.push_back(line); };
        targets.showMessage = [this](const std::string& text) { messages.push_back(text); };
        targets.mainForm = &mainForm;
        targets.refreshRelayPage = [this](int page) { relayRefreshes.push_back(page); };
        targets.wiredLoopsPage = &loops;
        targets.redrawLoopDiagrams = [this] { ++diagramRedraws; };
        mainForm.add("StatusBar1", ControlKind::StatusBar);
    }

    // Declares a control whose action counts its runs.
    Control& Add(const std::string& name, ControlKind kind)
    {
        page.setAction(name, [this, name] { ++actions[name]; });
        return page.add(name, kind);
    }

    void Send(const std::string& name, const std::string& text)
    {
        ApplyControlCommand({&page, name}, text, targets);
    }

    FormModel page{"formTest"};
    FormModel mainForm{"Form1"};
    FormModel loops{"formShleif"};
    DrainTargets targets;
    TOutArray queue;
    std::vector<std::string> log;
    std::vector<std::string> messages;
    std::vector<int> relayRefreshes;
    int diagramRedraws = 0;
    std::map<std::string, int> actions;
};

TEST_F(Interpreter, ControlCommandsByKind)
{
    struct Case {
        ControlKind kind;
        std::string text;
        std::function<void(Control&)> before;
        std::function<void(const Control&)> expect;
    };
    const auto none = [](Control&) {};
    const std::vector<std::string> items{"мгновенная", "входная", "проходная"};
    const auto withItems = [&](Control& c) { c.items = items; };
    const Case cases[] = {
        {ControlKind::Label, "СОЕДИНЕНИЕ УСТАНОВЛЕНО", none,
         [](auto& c) {
             EXPECT_EQ(c.text, "СОЕДИНЕНИЕ УСТАНОВЛЕНО");
             EXPECT_EQ(c.fontColor, "clGreen");
         }},
        {ControlKind::Label, "СОЕДИНЕНИЕ РАЗОРВАНО", none,
         [](auto& c) {
             EXPECT_EQ(c.text, "СОЕДИНЕНИЕ РАЗОРВАНО");
             EXPECT_EQ(c.fontColor, "clRed");
         }},
        {ControlKind::StyledLabel, "Версия 42", none,
         [](auto& c) {
             EXPECT_EQ(c.text, "Версия 42");
             EXPECT_EQ(c.fontColor, "clWindowText");
         }},
        {ControlKind::Label, "enablefalse", [](auto& c) { c.text = "old"; },
         [](auto& c) {
             EXPECT_FALSE(c.enabled);
             EXPECT_EQ(c.text, "old");
         }},
        {ControlKind::Label, "Repaint12345", [](auto& c) { c.text = "old"; },
         [](auto& c) {
             EXPECT_EQ(c.text, "old");
             EXPECT_TRUE(c.enabled);
         }},
        {ControlKind::Edit, "+79161234567", none, [](auto& c) { EXPECT_EQ(c.text, "+79161234567"); }},
        {ControlKind::MaskEdit, "030", none, [](auto& c) { EXPECT_EQ(c.text, "030"); }},
        {ControlKind::SpinEdit, "42", none,
         [](auto& c) {
             EXPECT_EQ(c.value, 42);
             EXPECT_EQ(c.text, "42");
         }},
        {ControlKind::CheckBox, "true", none, [](auto& c) { EXPECT_TRUE(c.checked); }},
        {ControlKind::CheckBox, "false", [](auto& c) { c.checked = true; },
         [](auto& c) {
             EXPECT_FALSE(c.checked);
             EXPECT_TRUE(c.enabled);
         }},
        {ControlKind::CheckBox, "enablefalse", [](auto& c) { c.checked = true; },
         [](auto& c) {
             EXPECT_FALSE(c.enabled);
             EXPECT_TRUE(c.checked);
         }},
        {ControlKind::CheckBox, "enabletrue", [](auto& c) { c.enabled = false; },
         [](auto& c) { EXPECT_TRUE(c.enabled); }},
        {ControlKind::Button, "captionЗаписать в панель", none,
         [](auto& c) {
             EXPECT_EQ(c.text, "Записать в панель");
             EXPECT_TRUE(c.enabled);
         }},
        {ControlKind::Button, "CAPTIONСтоп", none, [](auto& c) { EXPECT_EQ(c.text, "Стоп"); }},
        {ControlKind::Button, "enablefalse", none, [](auto& c) { EXPECT_FALSE(c.enabled); }},
        {ControlKind::Button, "1", [](auto& c) { c.enabled = false; },
         [](auto& c) { EXPECT_TRUE(c.enabled); }},
        {ControlKind::Button, "TRUE", [](auto& c) { c.enabled = false; },
         [](auto& c) { EXPECT_TRUE(c.enabled); }},
        {ControlKind::Button, "0", none, [](auto& c) { EXPECT_FALSE(c.enabled); }},
        {ControlKind::Button, "tag5", none,
         [](auto& c) {
             EXPECT_FALSE(c.enabled);
             EXPECT_EQ(c.tag, 0);
         }},
        {ControlKind::StyledButton, "TAG5", none,
         [](auto& c) {
             EXPECT_EQ(c.tag, 5);
             EXPECT_TRUE(c.enabled);
         }},
        {ControlKind::StyledButton, "captiontag", none, [](auto& c) { EXPECT_EQ(c.text, "tag"); }},
        {ControlKind::SpeedButton, "7", none, [](auto& c) { EXPECT_EQ(c.tag, 7); }},
        {ControlKind::RadioGroup, "2", none, [](auto& c) { EXPECT_EQ(c.index, 2); }},
        {ControlKind::ToolButton, "false", none, [](auto& c) { EXPECT_FALSE(c.enabled); }},
        {ControlKind::ExtComboBox, "1", withItems,
         [](auto& c) {
             EXPECT_EQ(c.index, 1);
             EXPECT_EQ(c.text, "входная");
         }},
        {ControlKind::ComboBox, "2", withItems,
         [](auto& c) {
             EXPECT_EQ(c.index, 2);
             EXPECT_EQ(c.text, "проходная");
         }},
        {ControlKind::ComboBox, "tвходная", withItems,
         [](auto& c) {
             EXPECT_EQ(c.index, 1);
             EXPECT_EQ(c.text, "входная");
         }},
        {ControlKind::ComboBox, "tinternet.mts.ru", withItems,
         [](auto& c) {
             EXPECT_EQ(c.index, -1);
             EXPECT_EQ(c.text, "internet.mts.ru");
         }},
        {ControlKind::Panel, "Состояние подключения", none,
         [](auto& c) { EXPECT_EQ(c.text, "Состояние подключения"); }},
        {ControlKind::ProgressBar, "show", [](auto& c) { c.visible = false; },
         [](auto& c) { EXPECT_TRUE(c.visible); }},
        {ControlKind::ProgressBar, "hide", none, [](auto& c) { EXPECT_FALSE(c.visible); }},
        {ControlKind::ProgressBar, "55", none, [](auto& c) { EXPECT_EQ(c.value, 55); }},
        {ControlKind::StringGrid, "*v005003-85", none,
         [](auto& c) { EXPECT_EQ(c.cells.at(3).at(5), "-85"); }},
        {ControlKind::StringGrid, "*v011016Нет сигнала", none,
         [](auto& c) { EXPECT_EQ(c.cells.at(16).at(11), "Нет сигнала"); }},
        {ControlKind::StringGrid, "4", none,
         [](auto& c) {
             EXPECT_EQ(c.cellColors, (std::map<std::pair<int, int>, std::string>{{{4, 1}, "clRed"}}));
         }},
        {ControlKind::StringGrid, "*r", none,
         [](auto& c) { EXPECT_TRUE(c.cells.empty() && c.cellColors.empty()); }},
        {ControlKind::StringGrid, "*k", none,
         [](auto& c) { EXPECT_TRUE(c.cells.empty() && c.cellColors.empty()); }},
        {ControlKind::Memo, "вторая", [](auto& c) { c.items = {"первая"}; },
         [](auto& c) {
             EXPECT_EQ(c.items, (std::vector<std::string>{"первая", "вторая"}));
         }},
        {ControlKind::CheckedComboBox, "2", withItems,
         [](auto& c) {
             EXPECT_EQ(c.itemChecked, (std::vector<bool>{false, false, true}));
         }},
        {ControlKind::CheckedComboBox, "-1",
         [&](auto& c) {
             c.items = items;
             c.itemChecked = {true, false, true};
         },
         [](auto& c) {
             EXPECT_EQ(c.itemChecked, (std::vector<bool>{false, false, false}));
         }},
        {ControlKind::Shape, "clLime", none, [](auto& c) { EXPECT_EQ(c.color, "clLime"); }},
        {ControlKind::Form, "show", [](auto& c) { c.visible = false; },
         [](auto& c) { EXPECT_TRUE(c.visible); }},
        {ControlKind::GroupBox, "Show", [](auto& c) { c.visible = false; },
         [](auto& c) { EXPECT_TRUE(c.visible); }},
        {ControlKind::GroupBox, "true", [](auto& c) { c.enabled = false; },
         [](auto& c) { EXPECT_TRUE(c.enabled); }},
        {ControlKind::GroupBox, "show", none,
         [](auto& c) {
             EXPECT_FALSE(c.enabled);
             EXPECT_TRUE(c.visible);
         }},
    };
    int n = 0;
    for (const auto& test : cases) {
        const std::string name = "c" + std::to_string(n++);
        SCOPED_TRACE(name + " \"" + test.text + "\"");
        test.before(Add(name, test.kind));
        Send(name, test.text);
        test.expect(page.get(name));
    }
}

TEST_F(Interpreter, MalformedCommandThrowsAndLeavesTheControl)
{
    struct Case {
        ControlKind kind;
        std::string text;
    };
    const Case cases[] = {
        {ControlKind::SpinEdit, "12a"},      {ControlKind::RadioGroup, ""},
        {ControlKind::StringGrid, "*v01"},   {ControlKind::CheckedComboBox, "3"}, // no such item
        {ControlKind::StyledButton, "tagX"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.text);
        Add("x", test.kind).text = "before";
        EXPECT_ANY_THROW(Send("x", test.text));
        EXPECT_EQ(page.get("x").text, "before");
    }
    EXPECT_THROW(Send("missing", "true"), std::out_of_range);
}

TEST_F(Interpreter, CommandsThatRunTheControlsAction)
{
    struct Case {
        ControlKind kind;
        std::string text;
        bool runs;
    };
    const Case cases[] = {
        {ControlKind::Button, "CLICK", true},
        {ControlKind::StyledButton, "Click", true},
        {ControlKind::ToolButton, "Click", true},
        {ControlKind::ToolButton, "click", false},
        {ControlKind::Form, "SHOW", true},
        {ControlKind::Form, "Hide", false},
        {ControlKind::RadioButton, "true", true},
        {ControlKind::StyledRadioButton, "false", false},
        {ControlKind::Button, "captionClick", false},
    };
    int n = 0;
    for (const auto& test : cases) {
        const std::string name = "c" + std::to_string(n++);
        SCOPED_TRACE(name + " \"" + test.text + "\"");
        Add(name, test.kind);
        Send(name, test.text);
        EXPECT_EQ(actions[name], test.runs ? 1 : 0);
    }
}

TEST_F(Interpreter, RadioButtonIsClickedAsByTheUser)
{
    Add("rbAuto", ControlKind::RadioButton).group = "mode";
    Add("rbManual", ControlKind::StyledRadioButton).group = "mode";
    page.checkRadio("rbManual");
    page.setAction("rbAuto", [&] {
        ++actions["rbAuto"];
        EXPECT_TRUE(page.checked("rbAuto")); // the handler sees the button already checked
    });
    Send("rbAuto", "true");
    EXPECT_TRUE(page.checked("rbAuto"));
    EXPECT_FALSE(page.checked("rbManual"));
    EXPECT_EQ(actions["rbAuto"], 1);
}

TEST_F(Interpreter, RelayRefreshAndMainWindowRedraw)
{
    Add("etSms", ControlKind::Edit);
    Send("etSms", "radio3");
    Send("etMissing", "radio5");
    EXPECT_EQ(relayRefreshes, (std::vector<int>{3, 5}));
    EXPECT_EQ(page.text("etSms"), "");

    // A value read from the panel that contains the word is still a value.
    Send("etSms", "Neispravnost radiokanala");
    EXPECT_EQ(page.text("etSms"), "Neispravnost radiokanala");
    EXPECT_EQ(relayRefreshes.size(), 2u);

    ApplyControlCommand({&mainForm, "StatusBar1"}, "Repaint12345", targets);
    EXPECT_TRUE(mainForm.enabled("StatusBar1"));
}

class PageTree : public Interpreter {
protected:
    PageTree()
    {
        Control& tree = Add("tvPages", ControlKind::PageTree);
        tree.items = {"Общие", "Шлейфы", "Разделы", "Датчики", "Датчик движения"};
        tree.itemIds = {1, 2, 12, 226, 226};
        tree.itemLevels = {0, 1, 1, 0, 1};
    }
};

TEST_F(PageTree, SelectsByPageIdOrNodeNumber)
{
    struct Case {
        std::string text;
        int index;  // selected node afterwards, -1 = untouched
        bool runs;  // the tree's change handler ran
        bool error; // "Ошибка доступа к дереву закладок!" shown
    };
    const Case cases[] = {
        {"*226", 4, true, false},                        // the last node with the identifier
        {"*12", 2, true, false},  {"3", 3, true, false}, // the fourth node in display order
        {"0", 0, true, false},    {"*999", -1, false, false}, {"5", -1, false, false},
        {"-1", -1, false, false}, {"*abc", -1, false, true},  {"Разделы", -1, false, true},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.text);
        page.setIndex("tvPages", -1);
        actions.clear();
        messages.clear();
        Send("tvPages", test.text);
        EXPECT_EQ(page.index("tvPages"), test.index);
        EXPECT_EQ(actions["tvPages"], test.runs ? 1 : 0);
        EXPECT_EQ(messages, test.error ? std::vector<std::string>{"Ошибка доступа к дереву закладок!"}
                                       : std::vector<std::string>{});
    }
}

TEST_F(PageTree, EnableAndFailingHandler)
{
    Send("tvPages", "false");
    EXPECT_FALSE(page.enabled("tvPages"));
    Send("tvPages", "true");
    EXPECT_TRUE(page.enabled("tvPages"));

    page.setAction("tvPages", [] { throw std::runtime_error("page refused"); });
    EXPECT_NO_THROW(Send("tvPages", "*2"));
    EXPECT_EQ(messages, std::vector<std::string>{"Ошибка доступа к дереву закладок!"});
}

TEST_F(PageTree, ComponentCommands)
{
    Add("Timer1", ControlKind::Timer).enabled = false;
    Add("mnuUpdate", ControlKind::MenuItem);
    struct Case {
        std::string name;
        std::string text;
        std::function<void()> expect;
    };
    const Case cases[] = {
        {"Timer1", "true", [&] { EXPECT_TRUE(page.enabled("Timer1")); }},
        {"Timer1", "1", [&] { EXPECT_FALSE(page.enabled("Timer1")); }},
        {"mnuUpdate", "0", [&] { EXPECT_FALSE(page.enabled("mnuUpdate")); }},
        {"mnuUpdate", "True", [&] { EXPECT_TRUE(page.enabled("mnuUpdate")); }},
        {"mnuUpdate", "да", [&] { EXPECT_FALSE(page.enabled("mnuUpdate")); }},
        {"tvPages", "false", [&] { EXPECT_FALSE(page.enabled("tvPages")); }},
        {"tvPages", "2",
         [&] {
             EXPECT_EQ(page.index("tvPages"), 2);
             EXPECT_EQ(actions["tvPages"], 1);
         }},
        {"tvPages", "*226",
         [&] {
             EXPECT_EQ(page.index("tvPages"), 2);
             EXPECT_TRUE(messages.empty());
         }},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name + " \"" + test.text + "\"");
        queue.PostComp({&page, test.name}, test.text);
        queue.Drain(targets);
        test.expect();
    }
}

TEST_F(Interpreter, ColourGoesToBackgroundOrText)
{
    struct Case {
        ControlKind kind;
        const char* color;
        const char* fontColor;
    };
    const Case cases[] = {
        {ControlKind::Edit, "clBlue", "clWindowText"},
        {ControlKind::MaskEdit, "clBlue", "clWindowText"},
        {ControlKind::SpinEdit, "clBlue", "clWindowText"},
        {ControlKind::CheckBox, "clWindow", "clBlue"},
        {ControlKind::Label, "clWindow", "clBlue"},
        {ControlKind::StyledLabel, "clWindow", "clBlue"},
        {ControlKind::RadioButton, "clWindow", "clBlue"},
        {ControlKind::StyledRadioButton, "clWindow", "clBlue"},
        {ControlKind::Button, "clWindow", "clWindowText"},
        {ControlKind::Shape, "clWindow", "clWindowText"},
    };
    int n = 0;
    for (const auto& test : cases) {
        const std::string name = "c" + std::to_string(n++);
        SCOPED_TRACE(name);
        Add(name, test.kind);
        queue.PostColor({&page, name}, "clBlue");
        queue.Drain(targets);
        EXPECT_EQ(page.get(name).color, test.color);
        EXPECT_EQ(page.get(name).fontColor, test.fontColor);
    }
}

TEST_F(Interpreter, SliderPositionShowsTheLoopReading)
{
    Add("tsn1", ControlKind::Slider);
    loops.add("etKOMtsn1", ControlKind::Edit, "обрыв");
    struct Case {
        int code;
        const char* reading;
    };
    const Case cases[] = {
        {1000, "обрыв"}, {1500, "обрыв"}, {64, "0"},     {0, "0"},   {129, "1,01"}, {65, "0,01"},
        {319, "3,97"},   {452, "6,04"},   {514, "7,01"}, {321, "4"}, {706, "10"},   {999, "14,56"},
    };
    int redraws = 0;
    for (const auto& test : cases) {
        SCOPED_TRACE(test.code);
        queue.PostSlider({&page, "tsn1"}, test.code, "position");
        queue.Drain(targets);
        EXPECT_EQ(loops.text("etKOMtsn1"), test.reading);
        EXPECT_EQ(page.get("tsn1").marker, test.code - 64);
        EXPECT_EQ(diagramRedraws, ++redraws);
    }
}

TEST_F(Interpreter, SliderThumbsCountFromZero)
{
    Add("tsn1", ControlKind::Slider);
    const int codes[] = {64, 321, 514, 706, 1000};
    for (int thumb = 0; thumb < 5; ++thumb)
        queue.PostSlider({&page, "tsn1"}, thumb, std::to_string(codes[thumb]));
    queue.PostSlider({&page, "tsn1"}, 5, "900"); // no sixth thumb: dropped
    queue.Drain(targets);
    EXPECT_EQ(page.get("tsn1").thumbs, (std::array<int, 5>{0, 257, 450, 642, 936}));
    EXPECT_EQ(diagramRedraws, 5);
}

TEST_F(Interpreter, CellSetKeepsTheLastRowInView)
{
    Add("StringGrid1", ControlKind::StringGrid).visibleRows = 10;
    queue.PostCell({&page, "StringGrid1"}, "Тревога", 3, 4);
    queue.Drain(targets);
    Control grid = page.get("StringGrid1");
    EXPECT_EQ(grid.cells.size(), 4u);
    EXPECT_EQ(grid.cells[3].at(4), "Тревога");
    EXPECT_EQ(grid.topRow, 0);
    EXPECT_EQ(grid.index, 3);

    queue.PostCell({&page, "StringGrid1"}, "32", 32, 0);
    queue.Drain(targets);
    grid = page.get("StringGrid1");
    EXPECT_EQ(grid.cells.size(), 33u);
    EXPECT_EQ(grid.topRow, 23); // rows 23..32 fill the ten visible rows
    EXPECT_EQ(grid.index, 32);
    EXPECT_EQ(grid.cells[3].at(4), "Тревога");
}

TEST_F(Interpreter, RowAppend)
{
    const std::vector<std::string> header{"№", "Время", "Тип"};
    struct Case {
        const char* situation;
        Rows before;
        Rows after;
    };
    const Case cases[] = {
        {"unused first row is reused", {header, {"", ""}}, {header, {"1", "12:00", "Тревога"}}},
        {"first row in use", {header, {"1", "a"}}, {header, {"1", "a"}, {"2", "12:00", "Тревога"}}},
        {"header only", {header}, {header, {"1", "12:00", "Тревога"}}},
        {"two rows in use", {header, {"1"}, {"2"}}, {header, {"1"}, {"2"}, {"3", "12:00", "Тревога"}}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.situation);
        Add("StringGrid1", ControlKind::StringGrid).cells = test.before;
        queue.PostRow({&page, "StringGrid1"}, "12:00\r\nТревога");
        queue.Drain(targets);
        const Control grid = page.get("StringGrid1");
        EXPECT_EQ(grid.cells, test.after);
        EXPECT_EQ(grid.index, static_cast<int>(test.after.size()) - 1);
    }
}

TEST_F(Interpreter, ListViewItems)
{
    Add("lvRelays", ControlKind::ListView);
    const ControlRef list{&page, "lvRelays"};
    queue.Add(std::make_unique<TListOut>(7, list, "1", std::vector<std::string>{"Реле 1", "вкл"}, 0));
    queue.Add(std::make_unique<TListOut>(4, list, "5", std::vector<std::string>{"Реле 2"}, 1));  // appended
    queue.Add(std::make_unique<TListOut>(4, list, "1", std::vector<std::string>{"Реле 1А"}, 2)); // updated
    queue.Add(std::make_unique<TChangeItemIndOut>(list, 2, 3));
    queue.Add(std::make_unique<TChangeItemIndOut>(list, 3, 9)); // no third item: dropped
    queue.Drain(targets);
    Control view = page.get("lvRelays");
    EXPECT_EQ(view.cells, (Rows{{"1", "Реле 1А", "вкл"}, {"5", "Реле 2"}}));
    EXPECT_EQ(view.itemImages, (std::vector<int>{2, 3}));

    queue.Add(std::make_unique<TClearListOut>(list));
    queue.Drain(targets);
    view = page.get("lvRelays");
    EXPECT_TRUE(view.cells.empty());
    EXPECT_TRUE(view.itemImages.empty());
}

TEST_F(Interpreter, StatusMessageAndLog)
{
    queue.PostStatus("COM3", 0);
    queue.PostStatus("+79161234567", 2);
    queue.PostNotice("Пароль не верен!");
    queue.PostLog("видно", true, false);
    queue.PostLog("скрыто", false, false);
    queue.Drain(targets);
    EXPECT_EQ(mainForm.get("StatusBar1").items, (std::vector<std::string>{"COM3", "", "+79161234567"}));
    EXPECT_EQ(messages, std::vector<std::string>{"Пароль не верен!"});
    EXPECT_EQ(log, std::vector<std::string>{"видно"});

    queue.PostStatus("lost", 0);
    queue.PostNotice("lost");
    queue.Drain(DrainTargets{}); // no window to deliver to: skipped
    EXPECT_EQ(mainForm.get("StatusBar1").items.at(0), "COM3");
}

} // namespace
} // namespace nvx
