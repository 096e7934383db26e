// Switches for demonstrations and screenshots, read from the environment at start-up:
// NVX_AUTOCONNECT=1 connects at once with the settings loaded from current.ini instead of asking;
// NVX_SCREENSHOT=<file.png> saves a picture of the window once the sensor's state is on screen and
// ends the program (exit code 0 when saved, 1 when the picture could not be written, 2 when the
// state did not show within 30 s). Interface thread.
#pragma once

namespace nvx {

class Session;
class TForm1;

void ApplyDemoSwitches(TForm1& window, Session& session);

}  // namespace nvx
