#include "core/PageBaseOps.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace nvx {

namespace {

const std::string kNormalText = "clWindowText";
const std::string kNormalBackground = "clWindow";

std::string_view TrimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::optional<int> TextAsInteger(std::string_view text)
{
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

void NormalStyle(Control& c)
{
    c.fontColor = kNormalText;
    c.color = kNormalBackground;
    c.bold = false;
}

void Clear(FormModel& form, bool forRead)
{
    for (const std::string& name : form.names()) {
        form.update(name, [forRead](Control& c) {
            switch (c.kind) {
            case ControlKind::Label:
            case ControlKind::StyledLabel:
                c.fontColor = kNormalText;
                c.bold = false;
                break;
            case ControlKind::Edit:
                if (forRead)
                    c.text.clear();
                NormalStyle(c);
                break;
            case ControlKind::CheckBox:
                if (forRead)
                    c.checked = false;
                NormalStyle(c);
                break;
            case ControlKind::MaskEdit:  // the queue colours masked edits too
            case ControlKind::SpinEdit:
            case ControlKind::RadioButton:
            case ControlKind::StyledRadioButton:
                NormalStyle(c);
                break;
            default:
                break;
            }
        });
    }
}

}  // namespace

void ClearForRead(FormModel& form) { Clear(form, true); }

void ClearMarks(FormModel& form) { Clear(form, false); }

void SetDefaults(FormModel& form)
{
    for (const std::string& name : form.names()) {
        const Control control = form.get(name);
        const std::string& hint = control.hint;
        switch (control.kind) {
        case ControlKind::Edit:
        case ControlKind::MaskEdit:
            form.setText(name, hint);
            break;
        case ControlKind::SpinEdit:
            SetSpinEditText(form, name, hint);
            break;
        case ControlKind::CheckBox:
            if (const auto on = TextAsBool(hint))
                form.setChecked(name, *on);
            break;
        case ControlKind::RadioButton:
        case ControlKind::StyledRadioButton:
            if (const auto on = TextAsBool(hint))
                SetRadioChecked(form, name, *on);
            break;
        case ControlKind::ComboBox:
        case ControlKind::ExtComboBox: {
            const auto item = std::find(control.items.begin(), control.items.end(), hint);
            if (item != control.items.end())
                SelectComboItem(form, name, static_cast<int>(item - control.items.begin()));
            break;
        }
        default:
            break;
        }
    }
}

std::optional<bool> TextAsBool(std::string_view text)
{
    text = TrimBlanks(text);
    if (EqualsIgnoringCase(text, "true"))
        return true;
    if (EqualsIgnoringCase(text, "false"))
        return false;
    if (const auto number = TextAsInteger(text))
        return *number != 0;
    return std::nullopt;
}

void SetSpinEditText(FormModel& form, const std::string& name, const std::string& text)
{
    const auto number = TextAsInteger(text);
    form.update(name, [&](Control& c) {
        c.text = text;
        if (number)
            c.value = *number;
    });
}

void SetRadioChecked(FormModel& form, const std::string& name, bool checked)
{
    if (checked)
        form.checkRadio(name);
    else
        form.setChecked(name, false);
}

void SelectComboItem(FormModel& form, const std::string& name, int index)
{
    form.update(name, [index](Control& c) {
        c.index = index;
        if (index >= 0 && static_cast<std::size_t>(index) < c.items.size())
            c.text = c.items[static_cast<std::size_t>(index)];
    });
}

}  // namespace nvx
