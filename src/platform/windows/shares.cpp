#include "platform/windows_only/shares.h"

#include "platform/windows/wide.h"

#include <winnetwk.h>

namespace pagelark {
namespace {

class NetworkShareConnector final : public ShareConnector {
  public:
    bool Connect(const std::string& share) override {
        std::wstring remote = Wide(share);
        NETRESOURCEW resource{};
        resource.dwScope = RESOURCE_GLOBALNET;
        resource.dwType = RESOURCETYPE_DISK;
        resource.dwDisplayType = RESOURCEDISPLAYTYPE_SHARE;
        resource.dwUsage = RESOURCEUSAGE_CONNECTABLE;
        resource.lpRemoteName = remote.data();
        // The user's own credentials; remembered in the profile as the program always did.
        return ::WNetAddConnection2W(&resource, nullptr, nullptr, CONNECT_UPDATE_PROFILE) ==
               NO_ERROR;
    }
    bool Disconnect(const std::string& share) override {
        return ::WNetCancelConnection2W(Wide(share).c_str(), CONNECT_UPDATE_PROFILE, FALSE) ==
               NO_ERROR;
    }
};

}  // namespace

std::unique_ptr<ShareConnector> SystemShareConnector() {
    return std::make_unique<NetworkShareConnector>();
}

}  // namespace pagelark
