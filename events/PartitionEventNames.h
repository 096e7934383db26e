// Names of the panel's partition events (arming, disarming, alarm, entry and exit delay of
// partitions 1 to 6), logged when relay settings are read. Constant data; any thread.
#pragma once

#include <array>
#include <string_view>

namespace nvx {

struct PartitionEventName {
    int code;
    std::string_view text;
};

// Six arming texts, six disarming, six alarm, six entry-delay, six exit-delay.
extern const std::array<PartitionEventName, 30> PartitionEventNames;

// The text of the code, or an empty text for a code that is not a partition event.
std::string_view PartitionEventText(int code);

} // namespace nvx
