#include "pages/LoopThresholds.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace nvx {

namespace {

// Kilo-ohms per code unit of the loop's analogue measurement, less the one kilo-ohm offset.
constexpr long double kOhmsPerCode = 0.015576L;
constexpr const char* kBreakText = "обрыв";

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::string LoopThresholdText(int code)
{
    if (code >= kLoopBreakCode)
        return kBreakText;
    if (code <= kLowestLoopThresholdCode)
        return "0";
    // llrint rounds in the current mode, to nearest with halves to even.
    const long long hundredths = std::llrint((code * kOhmsPerCode - 1) * 100);
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

int LoopThresholdCode(const std::string& text)
{
    if (text.find(kBreakText) != std::string::npos)
        return kLoopBreakCode;
    std::string number = Trimmed(text);
    std::replace(number.begin(), number.end(), ',', '.');
    long double kiloOhms = 0;
    const char* end = number.data() + number.size();
    const auto [stop, error] = std::from_chars(number.data(), end, kiloOhms);
    if (number.empty() || error != std::errc{} || stop != end || !std::isfinite(kiloOhms))
        return kLowestLoopThresholdCode;
    const long double code = std::nearbyint((kiloOhms + 1) / kOhmsPerCode);
    return static_cast<int>(std::clamp(code, static_cast<long double>(kLowestLoopThresholdCode),
                                       static_cast<long double>(kLoopBreakCode)));
}

}  // namespace nvx
