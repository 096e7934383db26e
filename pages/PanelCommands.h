// The panel's direct commands behind the general page's buttons: clock synchronisation, start,
// stop, restart and the LED test. Each runs as a device job on the link thread.
#pragma once

namespace nvx {

class TDevVeltra;
struct ControlRef;

// Sets the panel clock to the computer's local time and shows the text sent in `timeEdit`;
// `timeLabel` is marked by whether the panel took it.
void SynchronisePanelClock(TDevVeltra& device, const ControlRef& timeEdit, const ControlRef& timeLabel);

void StartPanel(TDevVeltra& device);

// Only on the cable: over a modem call the panel would drop the call.
void StopPanel(TDevVeltra& device);

// Restarts the panel and ends the link, whatever the panel answered: the panel forgets the
// connection while it restarts.
void RestartPanel(TDevVeltra& device);

void TestPanelLamps(TDevVeltra& device);

}  // namespace nvx
