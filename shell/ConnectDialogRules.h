// The connection dialog's rules on its model "dlgConnect", without widgets: port list, search result,
// remembered phones, cable or modem, master key. Interface thread.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/FormModel.h"
#include "serial/PortList.h"
#include "shell/PortSearch.h"

namespace nvx {

inline constexpr const char* kDeviceNotFound = "Устройство не найдено";
inline constexpr const char* kDeviceNotFoundCaption = "ошибка";

// The list items of the ports: "name (description)" or the name.
std::vector<std::string> PortItems(const std::vector<SerialPort>& ports);

// Replaces the items of "ComPorts" (kept in alphabetical order) and selects the first. A typed path
// (a text whose port has a "/", such as /dev/pts/5) stays the text: it is a port of its own.
void FillPortList(FormModel& dialog, const std::vector<std::string>& items);

// Fills the list and selects the item of the port the present text names, when it is listed.
void RefreshPortList(FormModel& dialog, const std::vector<std::string>& items);

// How a finished search leaves the dialog.
struct SearchOutcome {
    bool pressOk = false; // a port answered: the dialog closes with OK on it
    std::string warning;  // nothing answered: the text of the warning to show
};

// The automatic search on the dialog: the list is emptied and the progress bar counts the ports;
// the port that answers becomes the only item, selected. `yieldToWindow` runs once the bar is shown
// and after each probed port, so that a window can repaint.
SearchOutcome SearchFromDialog(FormModel& dialog, const PortProbe& probe,
                               const std::vector<std::string>& ports,
                               const std::function<void()>& yieldToWindow = {});

// OK: a new number in "Phones" goes first in its list, which keeps the last five.
void RememberDialledPhone(FormModel& dialog);

// "Label2" and "Phones" are enabled exactly when the GSM modem ("rb2") is chosen.
void ApplyLinkChoice(FormModel& dialog);

// "meMasterKey" takes the keys that TInputController::Hexadecimal passes.
// Leaving it empty puts the factory default master key into it.
void LeaveMasterKey(FormModel& dialog);

} // namespace nvx
