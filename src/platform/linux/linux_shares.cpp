#include "platform/shares.h"

namespace pagelark {

bool LinuxShareConnector::Connect(const std::string&) {
    return false;
}

bool LinuxShareConnector::Disconnect(const std::string&) {
    return false;
}

}  // namespace pagelark
