#include "pages/RadioSlotJobs.h"

#include <cstdint>
#include <exception>

#include "device/DevVeltra.h"
#include "link/xModem.h"
#include "pages/KeyfobWire.h"
#include "pages/RadioExchange.h"

namespace nvx {

namespace {

constexpr std::uint32_t kFoundPauseMs = 1500;

void PostDialog(TDevVeltra& device, FormModel& dialog, const std::string& message, const char* button)
{
    TOutArray& queue = device.Queue();
    queue.PostText({&dialog, "lbMessage"}, message);
    if (button)
        queue.PostText({&dialog, "btnOKCancel"}, std::string("caption") + button);
}

}  // namespace

bool EnterLearnMode(TDevVeltra& device, const std::string& command, FormModel& dialog, const std::string& error)
{
    bool entered = false;
    for (int set = 0; set < 3 && !device.LinkStopping(); ++set) {
        std::string value;
        if (device.Exchange(command, value, true, "OK", 6000, 1)) {
            entered = value != "ERR";
            break;
        }
    }
    if (!entered) {
        PostDialog(device, dialog, error, "Ok");
        device.Log(error);
    }
    return entered;
}

void RunEnrolmentJob(TDevVeltra& device, const std::string& error, const std::function<void()>& enrol)
{
    device.LockCommands();
    try {
        enrol();
    } catch (const std::exception&) {
        device.Log(error);
    }
    try {
        device.WriteValue("+l=0");
    } catch (const std::exception&) {
        device.Log(error);
    }
    device.UnlockCommands();
}

bool AwaitLearnAnswer(TDevVeltra& device, FormModel& dialog, int slot, const std::string& learnValue,
                      const PageEnrolment& page)
{
    TModem* link = device.Link();
    if (!link)
        return false;
    link->SendNoWait("+L" + learnValue);

    const std::string number = std::to_string(slot);
    std::string collected;
    bool notFoundShown = false;
    while (!device.abortState && CollectSlice(device, collected)) {
        const LearnAnswer answer = ReadLearnAnswer(collected);
        switch (answer.state) {
        case LearnAnswer::State::Searching:
            continue;
        case LearnAnswer::State::NotFound:
            if (!notFoundShown)
                PostDialog(device, dialog, page.name + " №" + number + " не найден", "Ok");
            notFoundShown = true;
            if (answer.complete)
                return false;
            continue;
        case LearnAnswer::State::AlreadyEnrolled:
            if (answer.heldSlot >= 1 && answer.heldSlot <= page.slots) {
                PostDialog(device, dialog,
                           "Этот " + page.heldName + " уже есть в памяти панели под номером " +
                               std::to_string(answer.heldSlot),
                           nullptr);
                page.postEnrolled(answer.heldSlot);
            } else {
                device.Log(page.error);
            }
            device.abortState = true;
            return false;
        case LearnAnswer::State::Found:
            PostDialog(device, dialog, page.name + " №" + number + " успешно найден", "OK");
            page.postEnrolled(slot);
            if (page.postFound)
                page.postFound(slot, collected);
            PauseUnlessStopping(device, kFoundPauseMs);
            return true;
        case LearnAnswer::State::Refused:
            PostDialog(device, dialog, page.error, "Ok");
            device.Log(page.error);
            return false;
        }
    }
    return false;
}

void RunDeleteJob(TDevVeltra& device, const std::string& command, const std::string& error,
                  const std::function<void()>& postFreed)
{
    device.LockCommands();
    try {
        device.abortState = false;
        if (TModem* link = device.Link()) {
            link->SendNoWait(command);
            const SliceWait wait = CollectUntilOk(device);
            if (wait == SliceWait::Accepted)
                postFreed();
            else if (wait == SliceWait::Refused)
                device.Log(error);
            ReturnToWorkingMode(device);
        }
    } catch (const std::exception&) {
        device.Log(error);
    }
    device.UnlockCommands();
}

void WriteSlots(TDevVeltra& device, int slots, const std::string& error,
                const std::function<std::optional<std::string>(int slot)>& commandOf)
{
    TModem* link = device.Link();
    if (!link)
        return;
    try {
        bool refused = false;
        for (int slot = 1; slot <= slots && !device.abortState; ++slot) {
            const std::optional<std::string> command = commandOf(slot);
            if (!command)
                continue;
            link->SendNoWait(*command);
            refused |= CollectUntilOk(device) == SliceWait::Refused;
        }
        ReturnToWorkingMode(device);
        if (refused)
            device.Log(error);
    } catch (const std::exception&) {
        device.Log(error);
    }
}

}  // namespace nvx
