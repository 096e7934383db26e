// The wired loops' analogue codes as the user reads them: the kilo-ohm text of a code and the
// codes at the ends of the scale. Pure functions, any thread.
#pragma once

#include <string>

namespace nvx {

inline constexpr int kLowestLoopThresholdCode = 64;  // shown as "0"; the sliders' value 0
inline constexpr int kLoopBreakCode = 1000;          // shown as kLoopBreakText
inline constexpr const char* kLoopBreakText = "обрыв";
// Kilo-ohms per code unit of the loop's analogue measurement, less the one kilo-ohm offset.
inline constexpr long double kKiloOhmsPerLoopCode = 0.015576L;

// "обрыв" from 1000, "0" up to 64, otherwise kilo-ohms with up to two decimals and a decimal
// comma: 129 gives "1,01".
std::string LoopReadingText(int code);

}  // namespace nvx
