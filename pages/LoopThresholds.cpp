#include "pages/LoopThresholds.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace nvx {

namespace {

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

int LoopThresholdCode(const std::string& text)
{
    if (text.find(kLoopBreakText) != std::string::npos)
        return kLoopBreakCode;
    std::string number = Trimmed(text);
    std::replace(number.begin(), number.end(), ',', '.');
    long double kiloOhms = 0;
    const char* end = number.data() + number.size();
    const auto [stop, error] = std::from_chars(number.data(), end, kiloOhms);
    if (number.empty() || error != std::errc{} || stop != end || !std::isfinite(kiloOhms))
        return kLowestLoopThresholdCode;
    const long double code = std::nearbyint((kiloOhms + 1) / kKiloOhmsPerLoopCode);
    return static_cast<int>(std::clamp(code, static_cast<long double>(kLowestLoopThresholdCode),
                                       static_cast<long double>(kLoopBreakCode)));
}

}  // namespace nvx
