#include "platform/windows_only/shares.h"

namespace pagelark {
namespace {

class LinuxShareConnector final : public ShareConnector {
  public:
    bool Connect(const std::string&) override { return false; }
    bool Disconnect(const std::string&) override { return false; }
};

}  // namespace

std::unique_ptr<ShareConnector> SystemShareConnector() {
    return std::make_unique<LinuxShareConnector>();
}

}  // namespace pagelark
