// The interpreter of the interface update queue: applies each element to the form models and
// to the drain's targets according to the kind of the target control. Interface thread only.
#pragma once

#include <string>

#include "core/OutArray.h"

namespace nvx {

// Applies one element by its kind. A missing target (no form, no callback) is skipped; a missing
// control, a malformed number or an unknown kind throws, and the drain drops the element.
void ApplyElement(const TOutElement& element, const DrainTargets& targets);

// The textual control command (element kind 2): "true", "enabletrue", "Click", "Show",
// "caption...", "*" + page identifier, "*v..." grid cells and the other words the pages send.
void ApplyControlCommand(const ControlRef& control, const std::string& text, const DrainTargets& targets);

} // namespace nvx
