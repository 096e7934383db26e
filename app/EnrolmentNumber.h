// A slot's number on a page of enrolled devices, coloured lime while a device is enrolled in the
// slot. Interface thread only.
#pragma once

#include <string>

#include "core/FormModel.h"

class QLabel;
class QWidget;

namespace nvx {

// A sunken number cell under the control's name. The binder does not draw it: its colour is the
// enrolment mark, which ShowEnrolmentNumber paints.
QLabel* NewEnrolmentNumber(const std::string& name, int width, QWidget* parent);

// The control's text, on lime for "clLime" and on the button colour otherwise.
void ShowEnrolmentNumber(QLabel* number, const Control& control);

}  // namespace nvx
