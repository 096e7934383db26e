// The phone number a GSM modem dials: only digits, W or w, "+", "," and ";" survive. Any thread.
#pragma once

#include <string>

namespace nvx {

std::string FilterPhoneNumber(const std::string& typed);

}  // namespace nvx
