// Exchanges the radio pages share: waiting out a long write in logged slices, pausing so that a stop
// cuts the pause short, and returning the panel to working mode after a learn or list operation.
// Link thread.
#pragma once

#include <cstdint>
#include <string>

namespace nvx {

class TDevVeltra;

enum class SliceWait {
    Accepted,  // the collected answer holds "OK"
    Refused,   // the panel answered "ERR": no "OK" will follow
    Stopped,   // the abort state was set or the link is stopping
};

// After a command sent with SendNoWait: collects the answer in slices of up to 500 ms, each
// non-empty slice logged as "-> com: " + text and passed through the line watch, until one of
// the outcomes above. A failed line watch sets the abort state.
SliceWait CollectUntilOk(TDevVeltra& device);

// One slice of the same kind, appended to `collected`; false when the link is gone or stopping.
bool CollectSlice(TDevVeltra& device, std::string& collected);

// Sleeps in short steps, ending early when the link stops.
void PauseUnlessStopping(TDevVeltra& device, std::uint32_t ms);

// Waits 100 ms and, when the main window's status field shows "Рабочий", sends +l=0.
void ReturnToWorkingMode(TDevVeltra& device);

}  // namespace nvx
