#include "core/FormFunc.h"

#include "core/LoopReading.h"
#include "core/TextLines.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace nvx {

namespace {

const char* const kTreeAccessError = "Ошибка доступа к дереву закладок!";

// What a command asks of the control's event handler, run once the model is unlocked.
enum class FollowUp { None, Trigger, ClickRadio };

std::string LowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char& ch : lower)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    return lower;
}

bool EqualsNoCase(std::string_view text, std::string_view lowerWord)
{
    return LowerAscii(text) == lowerWord;
}

bool ContainsNoCase(std::string_view text, std::string_view lowerWord)
{
    return LowerAscii(text).find(lowerWord) != std::string::npos;
}

// The text without its first `count` characters (UTF-8 code points, not bytes).
std::string DropCharacters(std::string_view text, std::size_t count)
{
    std::size_t pos = 0;
    for (; count > 0 && pos < text.size(); --count) {
        ++pos;
        while (pos < text.size() && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80)
            ++pos;
    }
    return std::string(text.substr(pos));
}

std::string_view TrimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<int> TryParseInt(std::string_view text)
{
    std::string_view digits = TrimBlanks(text);
    if (digits.size() > 1 && digits[0] == '+' && digits[1] != '-')
        digits.remove_prefix(1);
    int value = 0;
    const char* end = digits.data() + digits.size();
    auto [stop, error] = std::from_chars(digits.data(), end, value);
    if (digits.empty() || error != std::errc{} || stop != end)
        return std::nullopt;
    return value;
}

int ParseInt(std::string_view text)
{
    if (auto value = TryParseInt(text))
        return *value;
    throw std::invalid_argument("not a number: \"" + std::string(text) + "\"");
}

// "true" in any case or a non-zero number.
bool ReadsAsTrue(std::string_view text)
{
    if (EqualsNoCase(text, "true"))
        return true;
    const std::string_view number = TrimBlanks(text);
    double value = 0;
    const char* end = number.data() + number.size();
    auto [stop, error] = std::from_chars(number.data(), end, value);
    return !number.empty() && error == std::errc{} && stop == end && value != 0;
}

// Relay pages ask for a refresh with "radio" + page number. Only that exact form counts: a value
// read from the panel that merely contains the word (an SMS text, a name) is shown like any other.
std::optional<int> RelayRefreshPage(const std::string& text)
{
    if (!text.starts_with("radio"))
        return std::nullopt;
    return TryParseInt(std::string_view(text).substr(5));
}

std::string& Cell(Control& grid, int row, int column)
{
    if (row < 0 || column < 0)
        throw std::out_of_range("no cell " + std::to_string(column) + "," + std::to_string(row));
    if (grid.cells.size() <= static_cast<std::size_t>(row))
        grid.cells.resize(row + 1);
    auto& cells = grid.cells[row];
    if (cells.size() <= static_cast<std::size_t>(column))
        cells.resize(column + 1);
    return cells[column];
}

// Scrolls so that the last row is visible and selects it.
void ShowLastRow(Control& grid)
{
    const int rows = static_cast<int>(grid.cells.size());
    if (rows > grid.visibleRows)
        grid.topRow = std::max(grid.fixedRows, rows - grid.visibleRows);
    grid.index = rows - 1;
}


// A combo's text follows its selected item.
void SelectItem(Control& combo, int index)
{
    combo.index = index;
    const bool exists = index >= 0 && static_cast<std::size_t>(index) < combo.items.size();
    combo.text = exists ? combo.items[index] : std::string{};
}

int NodeByNumber(const Control& tree, int number)
{
    return number >= 0 && static_cast<std::size_t>(number) < tree.items.size() ? number : -1;
}

// The last node with the page identifier, as the tree's own search finds it.
int NodeByPageId(const Control& tree, int pageId)
{
    const auto found = std::find(tree.itemIds.rbegin(), tree.itemIds.rend(), pageId);
    return found == tree.itemIds.rend() ? -1 : static_cast<int>(tree.itemIds.rend() - found - 1);
}

FollowUp SelectNode(Control& tree, int node)
{
    if (node < 0)
        return FollowUp::None;
    tree.index = node;
    return FollowUp::Trigger;
}

void ApplyToLabel(Control& label, const std::string& text)
{
    if (text == "Repaint12345")
        return;
    if (text == "enabletrue" || text == "enablefalse") {
        label.enabled = text == "enabletrue";
        return;
    }
    if (text == "СОЕДИНЕНИЕ УСТАНОВЛЕНО")
        label.fontColor = "clGreen";
    else if (text == "СОЕДИНЕНИЕ РАЗОРВАНО")
        label.fontColor = "clRed";
    label.text = text;
}

void ApplyToCheckBox(Control& box, const std::string& text)
{
    if (text == "true" || text == "false")
        box.checked = text == "true";
    else
        box.enabled = text == "enabletrue";
}

FollowUp ApplyToButton(Control& button, const std::string& text)
{
    if (ContainsNoCase(text, "caption"))
        button.text = DropCharacters(text, 7);
    else if (button.kind == ControlKind::StyledButton && ContainsNoCase(text, "tag"))
        button.tag = ParseInt(DropCharacters(text, 3));
    else if (text == "enabletrue" || text == "enablefalse")
        button.enabled = text == "enabletrue";
    else if (EqualsNoCase(text, "click"))
        return FollowUp::Trigger;
    else
        button.enabled = ReadsAsTrue(text);
    return FollowUp::None;
}

void ApplyToComboBox(Control& combo, const std::string& text)
{
    if (!text.starts_with('t')) {
        SelectItem(combo, ParseInt(text));
        return;
    }
    combo.text = text.substr(1);
    const auto found = std::find(combo.items.begin(), combo.items.end(), combo.text);
    combo.index = found == combo.items.end() ? -1 : static_cast<int>(found - combo.items.begin());
}

void ApplyToProgressBar(Control& bar, const std::string& text)
{
    if (text == "show" || text == "hide")
        bar.visible = text == "show";
    else if (text != "Repaint12345")
        bar.value = ParseInt(text);
}

void ApplyToGrid(Control& grid, const std::string& text)
{
    if (text.starts_with("*v")) {
        if (text.size() < 8)
            throw std::invalid_argument("short grid cell command: " + text);
        const std::string_view fields(text);
        const int column = ParseInt(fields.substr(2, 3));
        const int row = ParseInt(fields.substr(5, 3));
        Cell(grid, row, column) = text.substr(8);
    } else if (!text.starts_with('*')) { // "*r" redraws, other markers are not for the grid
        grid.cellColors[{ParseInt(text), 1}] = "clRed";
    }
}

FollowUp ApplyToTree(Control& tree, const std::string& text)
{
    if (text == "true" || text == "false") {
        tree.enabled = text == "true";
        return FollowUp::None;
    }
    if (text.find('*') != std::string::npos)
        return SelectNode(tree, NodeByPageId(tree, ParseInt(DropCharacters(text, 1))));
    return SelectNode(tree, NodeByNumber(tree, ParseInt(text)));
}

void ApplyToCheckedComboBox(Control& combo, int item)
{
    combo.itemChecked.resize(combo.items.size(), false);
    if (item == -1) {
        std::fill(combo.itemChecked.begin(), combo.itemChecked.end(), false);
        return;
    }
    if (item < 0 || static_cast<std::size_t>(item) >= combo.items.size())
        throw std::out_of_range("no item " + std::to_string(item) + " in " + combo.name);
    combo.itemChecked[item] = true;
}

FollowUp ApplyToControl(Control& c, const std::string& text)
{
    switch (c.kind) {
    case ControlKind::Shape:
        c.color = text;
        break;
    case ControlKind::SpeedButton:
        c.tag = ParseInt(text);
        break;
    case ControlKind::Label:
    case ControlKind::StyledLabel:
        ApplyToLabel(c, text);
        break;
    case ControlKind::Edit:
    case ControlKind::MaskEdit:
    case ControlKind::Panel:
        c.text = text;
        break;
    case ControlKind::SpinEdit:
        c.value = ParseInt(text);
        c.text = std::to_string(c.value);
        break;
    case ControlKind::CheckBox:
        ApplyToCheckBox(c, text);
        break;
    case ControlKind::RadioButton:
    case ControlKind::StyledRadioButton:
        return text == "true" ? FollowUp::ClickRadio : FollowUp::None;
    case ControlKind::Button:
    case ControlKind::StyledButton:
        return ApplyToButton(c, text);
    case ControlKind::RadioGroup:
        c.index = ParseInt(text);
        break;
    case ControlKind::ToolButton:
        if (text == "Click")
            return FollowUp::Trigger;
        c.enabled = text == "true";
        break;
    case ControlKind::ExtComboBox:
        SelectItem(c, ParseInt(text));
        break;
    case ControlKind::ComboBox:
        ApplyToComboBox(c, text);
        break;
    case ControlKind::ProgressBar:
        ApplyToProgressBar(c, text);
        break;
    case ControlKind::StringGrid:
        ApplyToGrid(c, text);
        break;
    case ControlKind::Form:
        if (!EqualsNoCase(text, "show"))
            break;
        c.visible = true;
        return FollowUp::Trigger;
    case ControlKind::PageTree:
        return ApplyToTree(c, text);
    case ControlKind::Memo:
        c.items.push_back(text);
        break;
    case ControlKind::CheckedComboBox:
        ApplyToCheckedComboBox(c, ParseInt(text));
        break;
    default:
        if (text == "Show")
            c.visible = true;
        else
            c.enabled = text == "true";
        break;
    }
    return FollowUp::None;
}

void RunFollowUp(FormModel& form, const std::string& name, FollowUp next)
{
    if (next == FollowUp::ClickRadio)
        form.checkRadio(name);
    if (next != FollowUp::None)
        form.trigger(name);
}

void ApplyComponentCommand(const ControlRef& component, const std::string& text)
{
    if (!component.form)
        return;
    FollowUp next = FollowUp::None;
    component.form->update(component.name, [&](Control& c) {
        switch (c.kind) {
        case ControlKind::Timer:
            c.enabled = text == "true";
            break;
        case ControlKind::PageTree:
            if (text == "true" || text == "false")
                c.enabled = text == "true";
            else if (auto number = TryParseInt(text))
                next = SelectNode(c, NodeByNumber(c, *number));
            break;
        case ControlKind::MenuItem:
            c.enabled = ReadsAsTrue(text);
            break;
        default:
            break;
        }
    });
    RunFollowUp(*component.form, component.name, next);
}

void ApplyColourCommand(const ControlRef& control, const std::string& colourName)
{
    if (!control.form)
        return;
    control.form->update(control.name, [&](Control& c) {
        switch (c.kind) {
        case ControlKind::Edit:
        case ControlKind::MaskEdit:
        case ControlKind::SpinEdit:
            c.color = colourName;
            break;
        case ControlKind::CheckBox:
        case ControlKind::Label:
        case ControlKind::StyledLabel:
        case ControlKind::RadioButton:
        case ControlKind::StyledRadioButton:
            c.fontColor = colourName;
            break;
        default:
            break;
        }
    });
}

void ApplySliderCommand(const TTriSliderOut& element, const DrainTargets& targets)
{
    if (!element.slider.form)
        return;
    const bool position = element.text == "position";
    element.slider.form->update(element.slider.name, [&](Control& c) {
        // The sliders count from the lowest code.
        if (position)
            c.marker = element.number - kLowestLoopThresholdCode;
        else
            c.thumbs.at(static_cast<std::size_t>(element.number)) =
                ParseInt(element.text) - kLowestLoopThresholdCode;
    });
    if (position && targets.wiredLoopsPage)
        targets.wiredLoopsPage->setText("etKOM" + element.slider.name, LoopReadingText(element.number));
    if (targets.redrawLoopDiagrams)
        targets.redrawLoopDiagrams();
}

void ApplyCellSet(const TOutStringGrid& element)
{
    if (!element.grid.form)
        return;
    element.grid.form->update(element.grid.name, [&](Control& grid) {
        Cell(grid, element.row, element.column) = element.text;
        ShowLastRow(grid);
    });
}

void ApplyRowAppend(const TOutStringGrid& element)
{
    if (!element.grid.form)
        return;
    element.grid.form->update(element.grid.name, [&](Control& grid) {
        // A grid of the header and one unused row fills that row; otherwise a row is added.
        const int rows = static_cast<int>(grid.cells.size());
        const bool firstRowUnused = rows == 2 && (grid.cells[1].empty() || grid.cells[1][0].empty());
        const int row = firstRowUnused ? 1 : rows;
        const std::vector<std::string> lines = SplitLines(std::to_string(row) + "\r\n" + element.text);
        if (grid.cells.size() <= static_cast<std::size_t>(row))
            grid.cells.resize(row + 1);
        auto& cells = grid.cells[row];
        cells.assign(std::max(cells.size(), lines.size()), std::string{});
        std::copy(lines.begin(), lines.end(), cells.begin());
        ShowLastRow(grid);
    });
}

std::vector<std::string> ListRow(const TListOut& element)
{
    std::vector<std::string> row{element.caption};
    row.insert(row.end(), element.subItems.begin(), element.subItems.end());
    return row;
}

// Rows of a list view are numbered from 1.
std::size_t ListRowIndex(const Control& list, int number)
{
    if (number < 1 || static_cast<std::size_t>(number) > list.cells.size())
        throw std::out_of_range("no item " + std::to_string(number) + " in " + list.name);
    return static_cast<std::size_t>(number - 1);
}

void AppendListRow(Control& list, const TListOut& element)
{
    list.itemImages.resize(list.cells.size(), -1);
    list.cells.push_back(ListRow(element));
    list.itemImages.push_back(element.imageIndex);
}

void ApplyListItem(const TListOut& element)
{
    if (!element.list.form)
        return;
    const int number = ParseInt(element.caption);
    element.list.form->update(element.list.name, [&](Control& list) {
        if (list.cells.size() < static_cast<std::size_t>(std::max(number, 0))) {
            AppendListRow(list, element);
            return;
        }
        const std::size_t index = ListRowIndex(list, number);
        const std::vector<std::string> values = ListRow(element);
        auto& row = list.cells[index];
        row.resize(std::max(row.size(), values.size()));
        std::copy(values.begin(), values.end(), row.begin());
        list.itemImages.resize(list.cells.size(), -1);
        list.itemImages[index] = element.imageIndex;
    });
}

void ApplyImageIndex(const TChangeItemIndOut& element)
{
    if (!element.list.form)
        return;
    element.list.form->update(element.list.name, [&](Control& list) {
        const std::size_t index = ListRowIndex(list, element.item);
        list.itemImages.resize(list.cells.size(), -1);
        list.itemImages[index] = element.imageIndex;
    });
}

void ApplyFullListItem(const TListOut& element)
{
    if (!element.list.form)
        return;
    element.list.form->update(element.list.name, [&](Control& list) { AppendListRow(list, element); });
}

void ApplyClearList(const TClearListOut& element)
{
    if (!element.list.form)
        return;
    element.list.form->update(element.list.name, [&](Control& list) {
        if (list.kind == ControlKind::ListView) {
            list.cells.clear();
            list.itemImages.clear();
        } else {
            list.items.clear();
            list.itemChecked.clear();
        }
        list.index = -1;
    });
}

void ApplyStatus(const TStatusOut& element, const DrainTargets& targets)
{
    if (!targets.mainForm)
        return;
    if (element.panel < 0)
        throw std::out_of_range("no status panel " + std::to_string(element.panel));
    targets.mainForm->update("StatusBar1", [&](Control& bar) {
        if (bar.items.size() <= static_cast<std::size_t>(element.panel))
            bar.items.resize(element.panel + 1);
        bar.items[element.panel] = element.text;
    });
}

template <class Element> const Element& As(const TOutElement& element)
{
    if (const auto* typed = dynamic_cast<const Element*>(&element))
        return *typed;
    throw std::invalid_argument("element of kind " + std::to_string(element.kind) + " has the wrong type");
}

} // namespace

void ApplyControlCommand(const ControlRef& control, const std::string& text, const DrainTargets& targets)
{
    if (const auto relayPage = RelayRefreshPage(text)) {
        if (*relayPage < 1 || *relayPage > 5)
            throw std::out_of_range("no relay page " + std::to_string(*relayPage));
        if (targets.refreshRelayPage)
            targets.refreshRelayPage(*relayPage);
        return;
    }
    if (!control.form)
        return;
    if (control.form == targets.mainForm && text == "Repaint12345")
        return; // the window's mirror redraws by itself
    bool isTree = false;
    try {
        FollowUp next = FollowUp::None;
        control.form->update(control.name, [&](Control& c) {
            isTree = c.kind == ControlKind::PageTree;
            next = ApplyToControl(c, text);
        });
        RunFollowUp(*control.form, control.name, next);
    } catch (const std::exception&) {
        if (!isTree)
            throw;
        if (targets.showMessage)
            targets.showMessage(kTreeAccessError);
    }
}

void ApplyElement(const TOutElement& element, const DrainTargets& targets)
{
    switch (element.kind) {
    case 1: {
        const auto& line = As<TMemoOut>(element);
        if (line.visible && targets.appendLog)
            targets.appendLog(line.text);
        break;
    }
    case 2: {
        const auto& command = As<TControlOut>(element);
        ApplyControlCommand(command.control, command.text, targets);
        break;
    }
    case 3: {
        const auto& command = As<TCompOut>(element);
        ApplyComponentCommand(command.component, command.text);
        break;
    }
    case 4:
        ApplyListItem(As<TListOut>(element));
        break;
    case 5:
        ApplyImageIndex(As<TChangeItemIndOut>(element));
        break;
    case 6:
        ApplySliderCommand(As<TTriSliderOut>(element), targets);
        break;
    case 7:
        ApplyFullListItem(As<TListOut>(element));
        break;
    case 8:
        ApplyClearList(As<TClearListOut>(element));
        break;
    case 9:
        if (targets.showMessage)
            targets.showMessage(As<TMsgOut>(element).text);
        break;
    case 10:
        ApplyStatus(As<TStatusOut>(element), targets);
        break;
    case 11:
        ApplyCellSet(As<TOutStringGrid>(element));
        break;
    case 12: {
        const auto& command = As<TControlOut>(element);
        ApplyColourCommand(command.control, command.text);
        break;
    }
    case 13:
        ApplyRowAppend(As<TOutStringGrid>(element));
        break;
    default:
        throw std::invalid_argument("unknown element kind " + std::to_string(element.kind));
    }
}

} // namespace nvx
