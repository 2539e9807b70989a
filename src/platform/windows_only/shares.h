#pragma once
// Connections to network shares, as the operating system offers them.

#include <memory>
#include <string>

namespace pagelark {

class ShareConnector {
  public:
    virtual ~ShareConnector() = default;
    virtual bool Connect(const std::string& share) = 0;
    virtual bool Disconnect(const std::string& share) = 0;
};

// The system's connector: Windows connects a share with the user's own credentials; Linux
// mounts shares outside the program, so there it connects none.
std::unique_ptr<ShareConnector> SystemShareConnector();

}  // namespace pagelark
