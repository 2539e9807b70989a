#pragma once
// An inward port: what a service on the machine (D-Bus) or across a fleet (MQTT) may ask of
// the kiosk and read of it. The services never see the player; src/app implements this port.

#include "core/ports/port_types.h"

namespace pagelark {

class RemoteControl {
  public:
    virtual ~RemoteControl() = default;
    // Carries a command out as the player's own and calls request.answer once: at once with
    // nothing or why it was refused, in words an operator reads in a reply; for ShowAddress,
    // when refused, else once the page has loaded, failed or taken too long. ShowAddress loads
    // an http or https address the presentation's lists allow out of sight and pauses the show
    // on it (Play resumes the show); Reload loads the page on show again; Snapshot writes a PNG
    // of the whole screen to the request's file, replacing it atomically.
    virtual void Run(CommandCall request) = 0;
    virtual KioskStatus Status() const = 0;
};

}  // namespace pagelark
