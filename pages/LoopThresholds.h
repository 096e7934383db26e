// The wired loops' analogue thresholds: the kilo-ohm texts the page shows for the panel's codes and
// the codes it sends for what the user types. Pure functions, any thread.
#pragma once

#include <string>

#include "core/LoopReading.h"

namespace nvx {

// A threshold reads as a measurement does: "обрыв" from 1000, "0" up to 64, otherwise kilo-ohms
// with up to two decimals and a comma.
inline std::string LoopThresholdText(int code) { return LoopReadingText(code); }

// "0", empty or anything that is not a number give 64, a text containing "обрыв" 1000; a
// resistance gives its code, kept within 64..1000 so that it fits the three digits it is sent in.
int LoopThresholdCode(const std::string& text);

}  // namespace nvx
