#include "core/LoopReading.h"

#include <cmath>

namespace nvx {

std::string LoopReadingText(int code)
{
    if (code >= kLoopBreakCode)
        return kLoopBreakText;
    if (code <= kLowestLoopThresholdCode)
        return "0";
    // Extended precision, and llrint rounds in the current mode: to nearest, halves to even.
    const long long hundredths = std::llrint((code * kKiloOhmsPerLoopCode - 1) * 100);
    std::string text = std::to_string(hundredths / 100);
    const int fraction = static_cast<int>(hundredths % 100);
    if (fraction != 0) {
        text += ',';
        text += static_cast<char>('0' + fraction / 10);
        if (fraction % 10 != 0)
            text += static_cast<char>('0' + fraction % 10);
    }
    return text;
}

}  // namespace nvx
