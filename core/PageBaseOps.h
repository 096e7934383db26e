// The operations every settings page shares on its form model: clear before a read, clear the marks,
// take the defaults, and how a stored or default value lands on a control. Interface thread.
#pragma once

#include "core/FormModel.h"

#include <optional>
#include <string>
#include <string_view>

namespace nvx {

// Labels (plain and styled) get the normal text colour and font; edits are emptied; edits, masked edits,
// spin edits, check boxes and radio buttons (plain and styled) get the normal style; check boxes are
// unchecked. Masked edits keep their text.
void ClearForRead(FormModel& form);

// ClearForRead without emptying edits or unchecking check boxes: only the marks go.
void ClearMarks(FormModel& form);

// Every control takes the default kept in its hint: edits, masked edits and spin edits as their text;
// check boxes and radio buttons (plain and styled) checked by the hint read as a Boolean; combo boxes
// select the item whose text is the hint. A control whose hint cannot be applied keeps its state.
void SetDefaults(FormModel& form);

// "true" or "false" in any case, or an integer (other than 0 is true); nothing for other texts.
std::optional<bool> TextAsBool(std::string_view text);

// A spin edit's text, and its value as well when the text is a number.
void SetSpinEditText(FormModel& form, const std::string& name, const std::string& text);

// Checking a radio button unchecks the others of its group, as a click would.
void SetRadioChecked(FormModel& form, const std::string& name, bool checked);

// Selects the item and shows its text; -1, or an index beyond the items, leaves the text alone.
void SelectComboItem(FormModel& form, const std::string& name, int index);

}  // namespace nvx
