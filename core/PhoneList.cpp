#include "core/PhoneList.h"

#include <algorithm>

namespace nvx {

namespace {

constexpr const char* kSection = "Connect";

std::string PhoneKey(std::size_t position) { return "Phone" + std::to_string(position + 1); }

}  // namespace

std::vector<std::string> ReadPhoneList(const IniFile& ini)
{
    std::vector<std::string> phones;
    for (std::size_t i = 0; i < kRememberedPhones; ++i) {
        std::string phone = ini.ReadString(kSection, PhoneKey(i), {});
        if (phone.empty())
            break;
        phones.push_back(std::move(phone));
    }
    return phones;
}

void WritePhoneList(IniFile& ini, const std::vector<std::string>& phones)
{
    const std::size_t slots = std::max(phones.size(), kRememberedPhones);
    for (std::size_t i = 0; i < slots; ++i)
        ini.WriteString(kSection, PhoneKey(i), i < phones.size() ? phones[i] : std::string());
}

std::vector<std::string> RememberPhone(std::vector<std::string> phones, const std::string& number)
{
    if (number.empty() || std::find(phones.begin(), phones.end(), number) != phones.end())
        return phones;
    // A loaded profile appends its numbers, so the list can hold more than five; trim it all the way.
    if (phones.size() >= kRememberedPhones)
        phones.resize(kRememberedPhones - 1);
    phones.insert(phones.begin(), number);
    return phones;
}

}  // namespace nvx
