#include "pages/CheckedExchange.h"

#include "device/DevVeltra.h"

namespace nvx {

bool Refused(const std::string& value)
{
    return value == "ERR";
}

bool QueryMarked(TDevVeltra& device, const std::string& command, const ControlRef& mark, std::string& value)
{
    device.MarkPending(mark);
    if (device.ExchangeMarked(command, {}, value) && !Refused(value))
        return true;
    device.MarkFailed(mark);
    return false;
}

bool SendMarked(TDevVeltra& device, const std::string& command, const ControlRef& mark)
{
    std::string value;
    if (!QueryMarked(device, command, mark, value))
        return false;
    device.MarkConfirmed(mark);
    return true;
}

bool ReadTextToEdit(TDevVeltra& device, const ControlRef& edit, const std::string& command,
                    const ControlRef& mark)
{
    device.MarkPending(mark);
    std::string value;
    if (!device.ReadToEdit({}, command, {}, value) || Refused(value)) {
        device.MarkFailed(mark);
        return false;
    }
    device.Queue().PostText(edit, value);
    device.MarkConfirmed(mark);
    return true;
}

} // namespace nvx
