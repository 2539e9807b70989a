#include "platform/machine_id.h"

#include "platform/file_io.h"

namespace pagelark {

std::string MachineId() {
    ReadResult read = ReadWholeFile("/etc/machine-id", 4096);
    if (read.status != ReadStatus::Ok) return {};
    std::string& id = read.data;
    if (id.ends_with('\n')) id.pop_back();
    if (id.size() != 32 || id.find_first_not_of("0123456789abcdef") != std::string::npos) return {};
    return id;
}

}  // namespace pagelark
