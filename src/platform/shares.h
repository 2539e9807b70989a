#pragma once
// Connections to network shares, as the operating system offers them.

#include <string>

namespace pagelark {

class ShareConnector {
  public:
    virtual ~ShareConnector() = default;
    virtual bool Connect(const std::string& share) = 0;
    virtual bool Disconnect(const std::string& share) = 0;
};

// Linux mounts shares outside the program, so none can be connected from here.
class LinuxShareConnector final : public ShareConnector {
  public:
    bool Connect(const std::string& share) override;
    bool Disconnect(const std::string& share) override;
};

}  // namespace pagelark
