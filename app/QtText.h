// The models' texts (UTF-8 std::string) as the widgets take them. Any thread.
#pragma once

#include <QString>
#include <string>

namespace nvx {

inline QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace nvx
