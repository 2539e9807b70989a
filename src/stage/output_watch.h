#pragma once
// The outputs (screens) the window may cover: one added, one removed, or one's mode changed.

#include <functional>

class QObject;

namespace pagelark {

// Calls changed after each such change, while receiver lives; removed tells an output went.
void WatchOutputs(QObject* receiver, const std::function<void(bool removed)>& changed);

}  // namespace pagelark
