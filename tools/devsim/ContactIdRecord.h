// History records as the panel keeps and sends them: time stamp, delivery flags and a Contact ID
// message with its check digit. Pure functions.
#pragma once

#include <string>

namespace devsim {

// The record for a 15-character Contact ID message stamped "hh:mm:ss dd/mm/yy", delivered over
// channel 1 (flags 7FFE); the message's check digit is appended.
std::string HistoryRecord(const std::string& stamp, const std::string& message15);

} // namespace devsim
