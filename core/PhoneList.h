// The connection dialog's list of recently dialled phone numbers, most recent first, and how it is
// kept in the settings file ([Connect] Phone1 to Phone5). Interface thread.
#pragma once

#include "core/IniFile.h"

#include <cstddef>
#include <string>
#include <vector>

namespace nvx {

inline constexpr std::size_t kRememberedPhones = 5;

// Phone1, Phone2, ... up to Phone5, stopping at the first missing or empty one.
std::vector<std::string> ReadPhoneList(const IniFile& ini);

// The numbers as Phone1, Phone2, ... in list order, then empty values up to Phone5.
void WritePhoneList(IniFile& ini, const std::vector<std::string>& phones);

// The list after a connection with this number: a new number goes first and the list keeps the most
// recent five; an empty number or one already listed leaves the list as it is.
std::vector<std::string> RememberPhone(std::vector<std::string> phones, const std::string& number);

}  // namespace nvx
