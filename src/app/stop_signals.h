#pragma once
// The signals that stop a kiosk from outside.

#include <functional>

namespace pagelark {

// SIGTERM (a service stopped), SIGINT and SIGHUP call stop from the event loop, so the kiosk
// ends the orderly way and its temporary files are removed as after Escape.
void CatchStopSignals(std::function<void()> stop);

}  // namespace pagelark
