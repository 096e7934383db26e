#include "core/FormStore.h"

#include "core/PageBaseOps.h"

namespace nvx {

namespace {

bool IsGenericCombo(ControlKind kind)
{
    return kind == ControlKind::ComboBox || kind == ControlKind::ExtComboBox;
}

bool IsTextControl(ControlKind kind)
{
    return kind == ControlKind::Edit || kind == ControlKind::MaskEdit || kind == ControlKind::SpinEdit;
}

// A stored index that names no item of a filled list (a hand-edited or foreign file) would reach the
// page logic as an out-of-range selection; it counts as missing. An empty list cannot judge it.
int UsableComboIndex(const Control& combo, int stored, int missing)
{
    const bool usable =
        stored >= -1 && (combo.items.empty() || stored < static_cast<int>(combo.items.size()));
    return usable ? stored : missing;
}

void LoadSpinEdit(const IniFile& ini, FormModel& form, const std::string& name)
{
    const std::string stored = ini.ReadString(form.name(), name, {});
    if (!stored.empty())
        SetSpinEditText(form, name, stored);
}

void LoadComboIndex(const IniFile& ini, FormModel& form, const Control& combo)
{
    constexpr int kMissing = 0;
    const int stored = ini.ReadInteger(form.name(), combo.name, kMissing);
    SelectComboItem(form, combo.name, UsableComboIndex(combo, stored, kMissing));
}

}  // namespace

void SaveGenericState(IniFile& ini, const FormModel& form)
{
    const std::string& section = form.name();
    for (const std::string& name : form.names()) {
        const Control c = form.get(name);
        if (IsTextControl(c.kind))
            ini.WriteString(section, name, c.text);
        else if (c.kind == ControlKind::CheckBox || c.kind == ControlKind::RadioButton)
            ini.WriteBool(section, name, c.checked);
        else if (IsGenericCombo(c.kind))
            ini.WriteInteger(section, name, c.index);
    }
}

void LoadGenericState(const IniFile& ini, FormModel& form)
{
    const std::string& section = form.name();
    for (const std::string& name : form.names()) {
        const Control c = form.get(name);
        switch (c.kind) {
        case ControlKind::Edit:
            form.setText(name, ini.ReadString(section, name, {}));
            break;
        case ControlKind::MaskEdit:
            form.setText(name, ini.ReadString(section, name, c.hint));
            break;
        case ControlKind::SpinEdit:
            LoadSpinEdit(ini, form, name);
            break;
        case ControlKind::CheckBox:
            form.setChecked(name, ini.ReadBool(section, name, c.checked));
            break;
        case ControlKind::RadioButton:
            SetRadioChecked(form, name, ini.ReadBool(section, name, c.checked));
            break;
        case ControlKind::ComboBox:
        case ControlKind::ExtComboBox:
            LoadComboIndex(ini, form, c);
            break;
        default:
            break;
        }
    }
}

void SavePageState(IniFile& ini, const FormModel& form, PageStateOptions options)
{
    const std::string& section = form.name();
    for (const std::string& name : form.names()) {
        const Control c = form.get(name);
        if (IsTextControl(c.kind) || c.kind == ControlKind::Button ||
            (c.kind == ControlKind::StyledLabel && options.styledLabelCaptions))
            ini.WriteString(section, name, c.text);
        else if (c.kind == ControlKind::CheckBox || c.kind == ControlKind::RadioButton)
            ini.WriteBool(section, name, c.checked);
        else if (c.kind == ControlKind::ComboBox)
            ini.WriteInteger(section, name, c.index);
    }
}

void LoadPageState(const IniFile& ini, FormModel& form, PageStateOptions options)
{
    const std::string& section = form.name();
    for (const std::string& name : form.names()) {
        const Control c = form.get(name);
        switch (c.kind) {
        case ControlKind::Edit:
        case ControlKind::MaskEdit:
            form.setText(name, ini.ReadString(section, name, c.hint));
            break;
        case ControlKind::SpinEdit:
            LoadSpinEdit(ini, form, name);
            break;
        case ControlKind::CheckBox:
            form.setChecked(name, ini.ReadBool(section, name, false));
            break;
        case ControlKind::RadioButton:
            SetRadioChecked(form, name, ini.ReadBool(section, name, TextAsBool(c.hint).value_or(false)));
            break;
        case ControlKind::ComboBox:
            LoadComboIndex(ini, form, c);
            break;
        case ControlKind::Button:
            if (options.restoreButtonCaptions)
                form.setText(name, ini.ReadString(section, name, kFreeSlotCaption));
            break;
        case ControlKind::StyledLabel:
            if (options.styledLabelCaptions)
                form.setText(name, ini.ReadString(section, name, c.text));
            break;
        default:
            break;
        }
    }
}

}  // namespace nvx
