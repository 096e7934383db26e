// Page exchanges that judge the answer's value as well as its arrival: a command the panel refused
// ("ERR") counts as failed and is marked red, never confirmed. Link thread.
#pragma once

#include <string>

#include "core/FormModel.h"

namespace nvx {

class TDevVeltra;

// Whether a value is the panel's refusal of the command.
bool Refused(const std::string& value);

// A query whose confirmation waits for the caller's decoding: the mark goes pending now and failed
// when the exchange fails or is refused; on true the caller confirms or fails it.
bool QueryMarked(TDevVeltra& device, const std::string& command, const ControlRef& mark, std::string& value);

// A marked write, confirmed only when the panel accepted it.
bool SendMarked(TDevVeltra& device, const std::string& command, const ControlRef& mark);

// Reads a text into its edit (as ReadToEdit does); a refused command leaves the edit as it was.
bool ReadTextToEdit(TDevVeltra& device, const ControlRef& edit, const std::string& command,
                    const ControlRef& mark);

} // namespace nvx
