// Feeds bytes to the .reg reader; whatever it accepts must write out and read back to the
// very same file, the lines it could not read included, or a rewrite of the store would
// change what the operator wrote.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "regfile/reg_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto first = pagelark::ParseRegFile(bytes);
    if (!first.ok) return 0;
    const std::string written = pagelark::WriteRegFile(first.document);
    const auto second = pagelark::ParseRegFile(written);
    if (!second.ok) std::abort();
    if (second.document.KeyCount() != first.document.KeyCount()) std::abort();
    if (second.unread.size() != first.unread.size()) std::abort();
    if (pagelark::WriteRegFile(second.document) != written) std::abort();
    return 0;
}
