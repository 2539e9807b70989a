#pragma once
// The machine's own identity, stable across boots and unique in a fleet of installed systems.

#include <string>

namespace pagelark {

// The 32 lower-case hexadecimal digits of /etc/machine-id; "" when it holds anything else,
// so the id is safe in a topic or a file name.
std::string MachineId();

}  // namespace pagelark
