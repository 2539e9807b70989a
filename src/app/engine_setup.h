#pragma once
// The browser engine's set-up, before Qt starts: it reads its switches from the environment
// and the arguments only then.

#include <string>
#include <vector>

#include "platform/result.h"

namespace pagelark {

struct EngineSetup {
    bool software = false;  // the pages are drawn on the CPU, without GL
};

// Takes remote debugging out of the engine's variables (remoteDebugging: it was taken out of
// the arguments already) with a word on the error output, and sets the engine's flags: the
// kiosk's, quiet unless the logging rules ask, and drawing on the CPU when that is cheaper.
// Fails, saying why, when the engine would refuse to run: as root with its sandbox on.
Result<EngineSetup> SetUpEngine(const std::vector<std::string>& arguments, bool remoteDebugging);

// Qt's drawing as set up, before the application is built; DrawingStarted once it is.
void ChooseDrawing(const EngineSetup& setup);
void DrawingStarted(const EngineSetup& setup);

}  // namespace pagelark
