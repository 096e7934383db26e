// Results as printed: the sensor's state line, and any page's value controls with their marks,
// taken from its form model alone so later pages print unchanged. Main thread.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "pages/fIn.h"

namespace nvx::cli {

std::string SensorStateLine(const std::string& version, bool petImmune);

// The page's caption and identifier, then one line per value control: name = value [mark].
void PrintPage(std::ostream& out, const TformIncl& page);

// Names of the page's controls that the last exchange marked failed.
std::vector<std::string> FailedControls(const TformIncl& page);

} // namespace nvx::cli
