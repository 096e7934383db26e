// How the radio sensors and keyfobs pages show a slot's enrolment: the caption of its button,
// which records it (the settings file keeps it), and the colour of its number label. Interface
// thread; the captions also travel through the update queue.
#pragma once

#include <string>

#include "core/FormStore.h"  // kFreeSlotCaption, which the settings file restores by default

namespace nvx {

inline constexpr const char* kEnrolledSlotCaption = "Удалить";
inline constexpr const char* kFreeSlotColour = "clBtnFace";

// The update queue command that sets a slot's button to record `enrolled`.
std::string SlotCaptionCommand(bool enrolled);

// Lime for an enrolled slot, the buttons' face for a free one; a label already so is left alone.
void ShowSlotEnrolment(FormModel& form, const std::string& label, bool enrolled);

}  // namespace nvx
