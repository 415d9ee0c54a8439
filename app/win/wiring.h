// The one fixed table that binds control events to handlers.
#pragma once

#include "toolkit/win/events.h"

namespace tolvane {

// The window's event sink: runs the handler bound to the event, if any.
void DeliverEvent(int source, Event event, const EventArgs& args);

}  // namespace tolvane
