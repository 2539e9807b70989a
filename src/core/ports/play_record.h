#pragma once
// An outward port of the player: what was shown, for an owner's proof of play. The kiosk
// writes each record as a line of its play log (src/playlog) and hands it to MQTT; tests
// record them. Called only while the show's PlayLog setting is on.

#include <cstdint>
#include <string>

namespace pagelark {

struct PlayRecord {
    // When the page came on show: seconds since 1970 in UTC, and the local zone's offset from
    // UTC then, in seconds.
    double since = 0.0;
    std::int32_t zoneOffset = 0;
    // How long it was on show; 0 for a page passed over because it could not be loaded.
    double seconds = 0.0;
    // Its position in the presentation (from 1) and its address as the show sent it.
    std::int32_t page = 0;
    std::string address;
    // False: passed over, or the engine's error page took its place while on show.
    bool loaded = true;
    // The presentation file and a short hash of its bytes as played.
    std::string presentation;
    std::string version;
};

class PlayLog {
  public:
    virtual ~PlayLog() = default;
    // A page left the show (the next page, a pause, navigation, the dark screen, the end), or
    // was passed over. Never blocks the show for long; a failure is the log's own business.
    virtual void PageShown(const PlayRecord& record) = 0;
};

}  // namespace pagelark
