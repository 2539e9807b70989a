#pragma once
// An inward port: what a service on the machine (D-Bus) or across a fleet (MQTT) may ask of
// the kiosk and read of it. The services never see the player; src/app implements this port.

#include <string>

#include "core/ports/port_types.h"

namespace pagelark {

class RemoteControl {
  public:
    virtual ~RemoteControl() = default;
    // Each command returns "" when it was carried out, otherwise why it was refused, in words
    // an operator reads in a reply.
    virtual std::string Next() = 0;
    virtual std::string Previous() = 0;
    virtual std::string Pause() = 0;
    virtual std::string Play() = 0;
    // Loads the page on show again.
    virtual std::string Reload() = 0;
    // Pauses the show on an http or https address the presentation's lists allow; Play
    // resumes the show.
    virtual std::string ShowAddress(const std::string& address) = 0;
    // A PNG of the whole screen, replacing path atomically.
    virtual std::string Snapshot(const std::string& path) = 0;
    virtual KioskStatus Status() const = 0;
};

}  // namespace pagelark
