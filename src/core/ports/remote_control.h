#pragma once
// An inward port: what a service on the machine (D-Bus) or across a fleet (MQTT) may ask of
// the kiosk and read of it. The services never see the player; src/app implements this port.

#include <functional>
#include <string>

#include "core/ports/port_types.h"

namespace pagelark {

class RemoteControl {
  public:
    virtual ~RemoteControl() = default;
    // Each command returns "" when it was carried out, otherwise why it was refused, in words
    // an operator reads in a reply. While an address ShowAddress asked for loads, the play
    // commands are refused.
    virtual std::string Next() = 0;
    virtual std::string Previous() = 0;
    virtual std::string Pause() = 0;
    virtual std::string Play() = 0;
    // Loads the page on show again.
    virtual std::string Reload() = 0;
    // Its answer: "" or the refusal, as the commands'.
    using Answer = std::function<void(const std::string& refusal)>;
    // Loads an http or https address the presentation's lists allow out of sight, and once it
    // has loaded pauses the show on it (Play resumes the show). answer is called once: at once
    // when the address is refused, else when the page has loaded, failed or taken too long.
    virtual void ShowAddress(const std::string& address, Answer answer) = 0;
    // A PNG of the whole screen, replacing path atomically.
    virtual std::string Snapshot(const std::string& path) = 0;
    virtual KioskStatus Status() const = 0;
};

}  // namespace pagelark
