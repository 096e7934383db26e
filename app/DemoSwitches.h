// Switches for demonstrations and screenshots, read from the environment at start-up.
// Interface thread.
#pragma once

namespace nvx {

class Session;
class TForm1;

// NVX_AUTOCONNECT=1: connect at once with the settings loaded from current.ini instead of asking.
// NVX_PAGE=<page identifier>: show that page at start instead of the sensor page.
// NVX_SCREENSHOT=<file.png>: once the sensor's state is on screen (with NVX_PAGE: once connected, that
// page has been read), save a picture of the window and end the program (exit code 0 when saved, 1 when
// the file could not be written, 2 when the page did not show within 30 s).
void ApplyDemoSwitches(TForm1& window, Session& session);

}  // namespace nvx
