#include "platform/log.h"

namespace pagelark {
namespace {

// Set once before the program's objects exist; read-only afterwards.
LogSink* installed = nullptr;

}  // namespace

std::string Clipped(std::string_view text) {
    constexpr std::size_t kShown = 300;
    if (text.size() <= kShown) return std::string(text);
    std::size_t cut = kShown;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;  // not inside a UTF-8 character
    return std::string(text.substr(0, cut)) + "... (" + std::to_string(text.size()) + " bytes)";
}

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
