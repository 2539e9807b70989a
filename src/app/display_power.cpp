#include "app/display_power.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

#include "qtshared/platform_name.h"

// After Qt's headers: Xlib's macros would clash with its names.
#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>

#include "platform/log.h"

namespace pagelark {
namespace {

// A television that does not answer holds cec-ctl no longer than this.
constexpr int kCecTimeLimitMs = 15000;

// Runs calls on display and says whether the server refused any, rather than ending the
// program as Xlib's own handler would.
template <typename Calls>
bool ServerRefused(Display* display, Calls calls) {
    static bool failed = false;
    failed = false;
    const XErrorHandler previous = XSetErrorHandler([](Display*, XErrorEvent*) {
        failed = true;
        return 0;
    });
    calls();
    XSync(display, False);
    XSetErrorHandler(previous);
    return failed;
}

std::string CecFolder() {
    const char* test = std::getenv("PAGELARK_TEST_CEC_FOLDER");
    return test != nullptr && *test != '\0' ? test : "/dev";
}

}  // namespace

std::vector<std::string> CecDevices() {
    std::vector<std::string> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(CecFolder(), error)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("cec")) found.push_back(entry.path().string());
    }
    std::sort(found.begin(), found.end());
    return found;
}

struct XDisplayPower::X {
    Display* display = nullptr;
    bool looked = false;
    bool dpms = false;
    // The server's power saving as the kiosk found it, given back as it ends.
    struct Found {
        CARD16 standby = 0, suspend = 0, off = 0;
        BOOL enabled = False;
    };
    std::optional<Found> found;
};

XDisplayPower::XDisplayPower() : x_(std::make_unique<X>()) {}

XDisplayPower::~XDisplayPower() {
    // The television told to wake as the kiosk ends is given a moment to hear it.
    constexpr int kLastWordMs = 3000;
    for (QProcess* process : findChildren<QProcess*>())
        process->waitForFinished(kLastWordMs);
    if (x_->found) {
        const X::Found& found = *x_->found;
        // Left on, whatever the server's own time-outs then do.
        if (ServerRefused(x_->display, [&] {
                DPMSForceLevel(x_->display, DPMSModeOn);
                DPMSSetTimeouts(x_->display, found.standby, found.suspend, found.off);
                if (found.enabled == False) DPMSDisable(x_->display);
            }))
            Warn(LogArea::Player, "the display's power saving could not be set back");
    }
    if (x_->display != nullptr) XCloseDisplay(x_->display);
}

// A connection of its own: the power calls need nothing of the windows' one.
bool XDisplayPower::Dpms() {
    if (!x_->looked) {
        x_->looked = true;
        // The X server a compositor may run for older programs switches no output: asking it
        // would only start it.
        if (OnWayland()) {
            Log(LogArea::Player,
                "under Wayland the display's power is the compositor's (its output power "
                "protocol, which the kiosk does not use): dark hours show black, and send a "
                "television to standby where CEC is set up");
            return false;
        }
        x_->display = XOpenDisplay(nullptr);
        int event = 0;
        int error = 0;
        x_->dpms = x_->display != nullptr && DPMSQueryExtension(x_->display, &event, &error) &&
                   DPMSCapable(x_->display);
        if (!x_->dpms) Log(LogArea::Player, "the display offers no power saving (DPMS)");
    }
    return x_->dpms;
}

void XDisplayPower::SetPower(bool on, bool tellTelevision) {
    if (Dpms()) {
        if (!x_->found) {
            X::Found found;
            CARD16 level = 0;
            if (DPMSGetTimeouts(x_->display, &found.standby, &found.suspend, &found.off) &&
                DPMSInfo(x_->display, &level, &found.enabled))
                x_->found = found;
        }
        // Forcing a level fails while power saving is disabled, as a session may have left it;
        // enabled, it must not blank the show by itself after the server's own time-outs.
        if (ServerRefused(x_->display, [&] {
                DPMSSetTimeouts(x_->display, 0, 0, 0);
                DPMSEnable(x_->display);
                DPMSForceLevel(x_->display, on ? DPMSModeOn : DPMSModeOff);
            }))
            Warn(LogArea::Player, "the display refused its power level");
    }
    if (tellTelevision) TellTelevision(on);
}

void XDisplayPower::TellTelevision(bool on) {
    for (const std::string& device : CecDevices()) {
        // One command at a time to a television, the latest asked for last: a storm of
        // switches neither piles up processes nor leaves it in an older state.
        Cec& cec = cec_[device];
        cec.wanted = on;
        if (!cec.busy) RunCec(device);
    }
}

void XDisplayPower::RunCec(const std::string& device) {
    Cec& cec = cec_[device];
    const QString program = QStandardPaths::findExecutable(QStringLiteral("cec-ctl"));
    if (!cec.wanted || program.isEmpty()) return;
    const bool on = *std::exchange(cec.wanted, std::nullopt);
    cec.busy = true;
    auto* process = new QProcess(this);
    process->setProgram(program);
    process->setArguments({QStringLiteral("--skip-info"), QStringLiteral("--device"),
                           QString::fromStdString(device), QStringLiteral("--playback"),
                           QStringLiteral("--to"), QStringLiteral("0"),
                           on ? QStringLiteral("--image-view-on") : QStringLiteral("--standby")});
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setStandardOutputFile(QProcess::nullDevice());
    auto* limit = new QTimer(process);
    limit->setSingleShot(true);
    QObject::connect(limit, &QTimer::timeout, process, [process, device] {
        Warn(LogArea::Player, "cec-ctl for ", device, " took too long and was ended");
        process->kill();
    });
    const auto over = [this, process, device] {
        process->deleteLater();
        cec_[device].busy = false;
        RunCec(device);
    };
    QObject::connect(process, &QProcess::finished, this,
                     [over, device](int code, QProcess::ExitStatus status) {
                         if (status == QProcess::NormalExit && code != 0)
                             Warn(LogArea::Player, "cec-ctl for ", device, " failed (", code, ")");
                         over();
                     });
    QObject::connect(process, &QProcess::errorOccurred, this, [over](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) over();
    });
    process->start();
    limit->start(kCecTimeLimitMs);
}

}  // namespace pagelark
