#include "cli/PageReport.h"

#include "cli/TerminalText.h"

namespace nvx::cli {

namespace {

constexpr const char* kConfirmed = "clBlue";
constexpr const char* kFailed = "clRed";

bool Marked(const Control& c, const char* colour)
{
    return c.color == colour || c.fontColor == colour;
}

std::string MarkSuffix(const Control& c)
{
    if (Marked(c, kFailed))
        return " [ошибка]";
    if (Marked(c, kConfirmed))
        return " [ok]";
    return {};
}

std::string Quoted(const std::string& text)
{
    return "\"" + EscapeControls(text) + "\"";
}

// The chosen item; a combo box's own text wins, since an editable combo may hold text of no item.
std::string ChoiceText(const Control& c)
{
    if (c.kind != ControlKind::RadioGroup && !c.text.empty())
        return c.text;
    if (c.index >= 0 && c.index < static_cast<int>(c.items.size()))
        return c.items[static_cast<std::size_t>(c.index)];
    return {};
}

void PrintGrid(std::ostream& out, const Control& c)
{
    for (std::size_t row = 0; row < c.cells.size(); ++row) {
        const auto& cells = c.cells[row];
        std::string line;
        bool any = false;
        for (std::size_t column = 0; column < cells.size(); ++column) {
            any = any || !cells[column].empty();
            line += (column ? " | " : "") + EscapeControls(cells[column]);
        }
        if (any)
            out << "  " << c.name << '[' << row << "] = " << line << '\n';
    }
}

} // namespace

std::string SensorStateLine(const std::string& version, bool petImmune)
{
    return "Датчик NVX, версия " + EscapeControls(version) + ": защита от животных " +
           (petImmune ? "включена" : "выключена");
}

void PrintPage(std::ostream& out, const TformIncl& page)
{
    out << "[" << page.Caption() << "] страница " << page.PageId() << '\n';
    const FormModel& form = page.Form();
    for (const std::string& name : form.names()) {
        const Control c = form.get(name);
        switch (c.kind) {
        case ControlKind::Edit:
        case ControlKind::MaskEdit:
        case ControlKind::SpinEdit:
            out << "  " << name << " = " << Quoted(c.text) << MarkSuffix(c) << '\n';
            break;
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
        case ControlKind::StyledRadioButton:
            out << "  " << name << " = " << (c.checked ? "да" : "нет") << MarkSuffix(c) << '\n';
            break;
        case ControlKind::ComboBox:
        case ControlKind::ExtComboBox:
        case ControlKind::RadioGroup:
            out << "  " << name << " = " << c.index << ' ' << Quoted(ChoiceText(c)) << MarkSuffix(c) << '\n';
            break;
        case ControlKind::StringGrid:
        case ControlKind::ListView:
            PrintGrid(out, c);
            break;
        default:
            break;
        }
    }
}

std::vector<std::string> FailedControls(const TformIncl& page)
{
    std::vector<std::string> failed;
    const FormModel& form = page.Form();
    for (const std::string& name : form.names())
        if (Marked(form.get(name), kFailed))
            failed.push_back(name);
    return failed;
}

} // namespace nvx::cli
