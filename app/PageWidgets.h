// Building blocks the settings page views share: widgets bound by name, the scrolling page frame,
// column headings, buttons with captions of their own and the yes-or-no warning. Interface thread only.
#pragma once

#include <string>

#include "app/ModelBinder.h"

class QAbstractButton;
class QLabel;
class QWidget;

namespace nvx {

// A new widget in `parent`, bound to the model's control of that name.
template <class W> W* Bound(ModelBinder& binder, const std::string& name, QWidget* parent)
{
    auto* widget = new W(parent);
    binder.bind(name, widget);
    return widget;
}

// Fills `view` with a frameless scroll area around `content`: a pane smaller than the page scrolls
// instead of squeezing the groups.
void PlaceInScrollArea(QWidget* view, QWidget* content);

// A bold, centred, wrapping column heading.
QLabel* BoldHeading(const char* text, QWidget* parent);

// Lays out `button` with `caption` beside it in `row`, which holds both. The caption is a label of
// its own because it carries the marks; a left click on it presses the button while that is enabled.
QWidget* CaptionedButtonRow(QWidget* row, QAbstractButton* button, QLabel* caption);

// A modal warning asking yes or no about `text`: true for yes.
bool ConfirmWarning(QWidget* parent, const std::string& text);

}  // namespace nvx
