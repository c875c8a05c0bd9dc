// Lets pending window messages run inside a long loop on the window thread.
#pragma once

namespace common {

// Dispatches the messages that are waiting and returns; costs one queue check when none are. A quit
// request met here is put back for the main loop.
void PumpMessages();

}  // namespace common
