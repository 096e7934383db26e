// A text split into its lines, as a string list takes them: CR, LF or CR LF end a line, and a
// final line break adds no empty line. Any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nvx {

std::vector<std::string> SplitLines(std::string_view text);

}  // namespace nvx
