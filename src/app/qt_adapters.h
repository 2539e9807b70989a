#pragma once
// The player's ports on Qt and Linux.

#include <QNetworkInformation>

#include "core/ports/connectivity.h"
#include "core/ports/debug_settings.h"
#include "core/ports/desktop.h"
#include "core/ports/program_launcher.h"

namespace pagelark {

class Settings;

// The cursor's display counter, kept here: the cursor is blanked while it is below 0.
class QtDesktop final : public Desktop {
  public:
    ~QtDesktop() override;
    ScreenPoint CursorPosition() const override;
    int ShowCursor(bool show) override;

  private:
    int counter_ = 0;
    bool blank_ = false;
};

// Connected unless the system positively reports no network.
class QtConnectivity final : public Connectivity {
  public:
    QtConnectivity();
    bool IsConnected() const override;

  private:
    QNetworkInformation* information_ = nullptr;
};

class QtLauncher final : public ProgramLauncher {
  public:
    void StartMinimized(const std::string& program) override;
};

// Debug and IEPath as the settings store says at the moment of asking.
class StoreDebugSettings final : public DebugSettings {
  public:
    explicit StoreDebugSettings(Settings& settings) : settings_(settings) {}
    std::string DebugProgram(const std::string& file) const override;

  private:
    Settings& settings_;
};

}  // namespace pagelark
