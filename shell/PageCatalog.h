// The settings pages the program builds, in the order the window creates them. Each page's
// logic unit is added here once; the shell, the device's dispatch, the settings file and the
// window find it from then on by its page identifier. Interface thread, at start-up.
#pragma once

#include <memory>
#include <vector>

#include "pages/fIn.h"

namespace nvx {

class TDevVeltra;
class TformMessageDlg;

// `messageDialog` is the enrolment dialog the radio sensors and keyfobs pages share.
std::vector<std::unique_ptr<TformIncl>> CreatePages(TDevVeltra& device, TformMessageDlg& messageDialog);

}  // namespace nvx
