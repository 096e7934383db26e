// The event message table the program carries: Russian texts and row colours of Contact ID events,
// keyed by event code + "1" (event, opening) or "3" (restore, closing). Any thread.
#pragma once

#include "events/MsgFileU.h"

namespace nvx {

// A fresh table filled from the copy of resources/messages.txt built into the program.
TMsgFile LoadEventMessageTable();

} // namespace nvx
