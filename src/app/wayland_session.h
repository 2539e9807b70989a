#pragma once
// What the kiosk asks of a Wayland compositor that Qt offers no call for: that it not blank
// the screen while the show plays, and whether it lets a window come forward. Asked through
// Qt's own connection, on an event queue of the kiosk's, so no event of Qt's is taken.

#include <QObject>
#include <QPointer>
#include <QWindow>
#include <functional>
#include <memory>
#include <string_view>

#include "core/ports/display_power.h"
#include "qtshared/platform_name.h"

namespace pagelark {

class WaylandSession {
  public:
    // None off Wayland, or where Qt gives out no connection.
    static std::unique_ptr<WaylandSession> Open();
    ~WaylandSession();
    WaylandSession(const WaylandSession&) = delete;
    WaylandSession& operator=(const WaylandSession&) = delete;

    // The compositor offers the global interface named (as "xdg_activation_v1").
    bool Offers(std::string_view interface);
    bool OffersIdleInhibit() const;
    // Asks the compositor not to blank the screen while window's surface shows, or lets it
    // again (window null). A new surface of the window takes a new request.
    void Inhibit(QWindow* window);

  private:
    struct Parts;
    explicit WaylandSession(std::unique_ptr<Parts> parts);
    std::unique_ptr<Parts> parts_;
};

// The display's power as the player asks for it, handed on to power; on Wayland also the
// compositor's idle inhibitor on the show's window: held while the screen is lit and the show
// plays, let go while the screen is kept dark, the configuration window is open or the kiosk
// ends.
class ScreenAwake final : public QObject, public DisplayPower {
  public:
    // session: none off Wayland. window: the show's, once it is made.
    ScreenAwake(DisplayPower& power, WaylandSession* session, std::function<QWindow*()> window);
    ~ScreenAwake() override;
    ScreenAwake(const ScreenAwake&) = delete;
    ScreenAwake& operator=(const ScreenAwake&) = delete;

    void SetPower(bool on, bool tellTelevision) override;
    // Each timer step, and at the end: whether the show plays.
    void Follow(bool showPlays);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Apply();

    DisplayPower& power_;
    WaylandSession* session_;
    std::function<QWindow*()> window_;
    QPointer<QWindow> watched_;
    bool lit_ = true;
    bool plays_ = false;
};

}  // namespace pagelark
