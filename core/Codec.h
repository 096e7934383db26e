// Conversion between the program's UTF-8 texts and the Windows-1251 bytes of the wire and of
// files. Any thread. Never loses the rest of a text: what CP1251 cannot hold becomes "?".
#pragma once

#include <string>
#include <string_view>

namespace nvx {

// Characters outside CP1251 and malformed UTF-8 become "?", one per character.
std::string ToCp1251(std::string_view utf8);

// Every byte decodes; 0x98, which CP1251 leaves undefined, becomes U+0098 and encodes back to 0x98.
std::string FromCp1251(std::string_view cp1251);

} // namespace nvx
