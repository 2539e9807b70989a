#pragma once
// An inward port of the player: what the world around it may ask of it; the player implements
// it, so whatever saves or fetches a presentation never knows the player itself.

#include "storage/show.h"

namespace pagelark {

enum class ShowChange {
    // A save or a managed file's change: in force at once, the page counter where it was.
    Now,
    // A save of another presentation than the one on show (New or Open in the configuration
    // window): at once, and the show goes on from its FirstPage.
    FromFirstPage,
    // A new version of the presentation on show, published elsewhere: its presentation is
    // taken at the next page boundary, from its FirstPage, while the show still plays the file
    // it is a version of; the settings in force stay. An offer not yet taken gives way to a
    // later one.
    NewVersion,
};

// Every new presentation or machine setting reaches the show this one way.
class PresentationUpdates {
  public:
    virtual ~PresentationUpdates() = default;
    virtual void TakeShow(Show show, ShowChange change) = 0;
};

}  // namespace pagelark
