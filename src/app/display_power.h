#pragma once
// The display's power: the X server's power saving (DPMS; not under Wayland) and, where the
// machine has a CEC adapter and cec-ctl, the television on the other end of HDMI.

#include <QObject>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/ports/display_power.h"

namespace pagelark {

// The CEC devices in folder (/dev, or PAGELARK_TEST_CEC_FOLDER, which only tests set).
std::vector<std::string> CecDevices();

class XDisplayPower final : public QObject, public DisplayPower {
  public:
    XDisplayPower();
    ~XDisplayPower() override;
    XDisplayPower(const XDisplayPower&) = delete;
    XDisplayPower& operator=(const XDisplayPower&) = delete;

    void SetPower(bool on, bool tellTelevision) override;

  private:
    bool Dpms();
    void TellTelevision(bool on);
    void RunCec(const std::string& device);

    // Each television's command running, and the state asked for since it started.
    struct Cec {
        bool busy = false;
        std::optional<bool> wanted;
    };
    std::map<std::string, Cec> cec_;

    struct X;
    std::unique_ptr<X> x_;
};

}  // namespace pagelark
