// The two stores of a page's controls in a settings file: the generic store and the page base store.
// Section = the form's name, key = the control's name. Interface thread.
#pragma once

#include "core/FormModel.h"
#include "core/IniFile.h"

namespace nvx {

// The caption a radio slot's button shows when nothing is stored for it: the slot is free.
inline constexpr const char* kFreeSlotCaption = "Добавить";

struct PageStateOptions {
    // Radio sensors and radio keypads pages: button captions are read back (default kFreeSlotCaption),
    // since they record which slots are enrolled. Every page writes them.
    bool restoreButtonCaptions = false;
    // Radio system characteristics page: styled labels' captions are written and read back.
    bool styledLabelCaptions = false;
};

// Only the kinds named here take part; the kinds match exactly (a styled radio button is not a radio
// button, an extended combo box is not a combo box unless named).

// Generic store: edits, masked edits and spin edits by text; check boxes and radio buttons as Booleans;
// combo boxes and extended combo boxes by selected index.
void SaveGenericState(IniFile& ini, const FormModel& form);
// Missing keys: an edit is emptied, a masked edit takes its hint, a spin edit, check box or radio
// button keeps its state, a combo box selects item 0.
void LoadGenericState(const IniFile& ini, FormModel& form);

// Page base store: edits, masked edits and spin edits by text; check boxes and radio buttons as
// Booleans; combo boxes by selected index; buttons by caption; styled labels by caption when enabled.
void SavePageState(IniFile& ini, const FormModel& form, PageStateOptions options = {});
// Missing keys: edits and masked edits take their hint, a spin edit keeps its state, a check box is
// unchecked, a radio button takes its hint as a Boolean, a combo box selects item 0.
void LoadPageState(const IniFile& ini, FormModel& form, PageStateOptions options = {});

}  // namespace nvx
