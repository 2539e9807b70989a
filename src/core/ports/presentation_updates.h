#pragma once
// An inward port of the player: what the world around it may ask of it; the player implements
// it, so whatever fetches a presentation never knows the player itself.

#include "model/presentation.h"

namespace pagelark {

// New versions of the presentation on show, which is published elsewhere.
class PresentationUpdates {
  public:
    virtual ~PresentationUpdates() = default;
    // Taken at the next page boundary, while the show still plays the file it is a version
    // of; an offer not yet taken gives way to a later one.
    virtual void OfferPresentation(Presentation presentation) = 0;
};

}  // namespace pagelark
