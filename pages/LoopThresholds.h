// The wired loops' analogue thresholds: the panel's measurement codes and the kilo-ohm texts the
// page shows for them. Pure functions, any thread.
#pragma once

#include <string>

namespace nvx {

inline constexpr int kLowestLoopThresholdCode = 64;   // shown as "0"
inline constexpr int kLoopBreakCode = 1000;           // shown as "обрыв"

// "обрыв" from 1000, "0" up to 64, otherwise kilo-ohms with up to two decimals and a comma.
std::string LoopThresholdText(int code);

// "0", empty or anything that is not a number give 64, a text containing "обрыв" 1000; a
// resistance gives its code, kept within 64..1000 so that it fits the three digits it is sent in.
int LoopThresholdCode(const std::string& text);

}  // namespace nvx
