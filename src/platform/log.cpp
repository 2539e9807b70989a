#include "platform/log.h"

namespace pagelark {
namespace {

// Set once before the program's objects exist; read-only afterwards.
LogSink* installed = nullptr;

}  // namespace

void SetLogSink(LogSink* sink) {
    installed = sink;
}

bool LogEnabled(LogArea area) {
    return installed != nullptr && installed->Enabled(area);
}

void WriteLog(LogArea area, std::string_view line) {
    if (installed != nullptr) installed->Write(area, line);
}

void WriteWarning(LogArea area, std::string_view line) {
    if (installed != nullptr) installed->Warn(area, line);
}

}  // namespace pagelark
