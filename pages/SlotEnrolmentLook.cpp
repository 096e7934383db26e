#include "pages/SlotEnrolmentLook.h"

namespace nvx {

std::string SlotCaptionCommand(bool enrolled)
{
    return std::string("caption") + (enrolled ? kEnrolledSlotCaption : kFreeSlotCaption);
}

void ShowSlotEnrolment(FormModel& form, const std::string& label, bool enrolled)
{
    const char* colour = enrolled ? "clLime" : kFreeSlotColour;
    if (form.get(label).color != colour)
        form.setColor(label, colour);
}

}  // namespace nvx
