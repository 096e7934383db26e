#include "shell/ConnectDialogRules.h"

#include <algorithm>

#include "core/PhoneList.h"
#include "device/FactoryDefaults.h"
#include "shell/Session.h"

namespace nvx {

namespace {

constexpr const char* kPorts = "ComPorts";
constexpr const char* kProgress = "ProgressBar1";

bool IsPath(const std::string& port)
{
    return port.find('/') != std::string::npos;
}

} // namespace

std::vector<std::string> PortItems(const std::vector<SerialPort>& ports)
{
    std::vector<std::string> items;
    items.reserve(ports.size());
    for (const SerialPort& port : ports)
        items.push_back(PortItemText(port));
    return items;
}

void FillPortList(FormModel& dialog, const std::vector<std::string>& items)
{
    std::vector<std::string> sorted = items;
    std::stable_sort(sorted.begin(), sorted.end(), AlphabeticalLess);
    const std::string typed = dialog.text(kPorts);
    const bool keepTyped = IsPath(PortNameOf(typed));
    dialog.update(kPorts, [&](Control& c) {
        c.items = sorted;
        if (keepTyped) {
            c.index = -1;
            c.text = typed;
        } else {
            c.index = sorted.empty() ? -1 : 0;
            c.text = sorted.empty() ? std::string() : sorted.front();
        }
    });
}

void RefreshPortList(FormModel& dialog, const std::vector<std::string>& items)
{
    const std::string port = PortNameOf(dialog.text(kPorts));
    FillPortList(dialog, items);
    if (port.empty() || IsPath(port))
        return;
    dialog.update(kPorts, [&](Control& c) {
        for (std::size_t i = 0; i < c.items.size(); ++i)
            if (PortNameOf(c.items[i]) == port) {
                c.index = static_cast<int>(i);
                c.text = c.items[i];
                return;
            }
    });
}

SearchOutcome SearchFromDialog(FormModel& dialog, const PortProbe& probe,
                               const std::vector<std::string>& ports,
                               const std::function<void()>& yieldToWindow)
{
    auto yield = [&] {
        if (yieldToWindow)
            yieldToWindow();
    };
    dialog.update(kPorts, [](Control& c) {
        c.items.clear();
        c.index = -1;
        c.text.clear();
    });
    dialog.update(kProgress, [&](Control& c) {
        c.minimum = 0;
        c.maximum = static_cast<int>(ports.size());
        c.value = 0;
        c.visible = true;
    });
    yield();
    const std::optional<std::string> found = SearchPorts(probe, ports, [&](const std::string&) {
        dialog.update(kProgress, [](Control& c) { ++c.value; });
        yield();
    });
    dialog.setVisible(kProgress, false);
    if (!found)
        return {false, kDeviceNotFound};
    dialog.update(kPorts, [&](Control& c) {
        c.items = {*found};
        c.index = 0;
        c.text = *found;
    });
    return {true, {}};
}

void RememberDialledPhone(FormModel& dialog)
{
    const std::string number = dialog.text("Phones");
    dialog.update("Phones", [&](Control& c) { c.items = RememberPhone(std::move(c.items), number); });
}

void ApplyLinkChoice(FormModel& dialog)
{
    const bool modem = dialog.checked("rb2");
    dialog.setEnabled("Label2", modem);
    dialog.setEnabled("Phones", modem);
}

void LeaveMasterKey(FormModel& dialog)
{
    if (dialog.text("meMasterKey").empty())
        dialog.setText("meMasterKey", kFactoryMasterKey);
}

} // namespace nvx
