#include "link/PhoneNumber.h"

#include <cctype>

namespace nvx {

std::string FilterPhoneNumber(const std::string& typed)
{
    std::string kept;
    for (char c : typed) {
        if (std::isdigit(static_cast<unsigned char>(c)) || c == 'W' || c == 'w' || c == '+' || c == ',' ||
            c == ';')
            kept += c;
    }
    return kept;
}

}  // namespace nvx
