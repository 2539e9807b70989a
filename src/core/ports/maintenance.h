#pragma once
// An outward port of the player: what it needs from the world around it; the Qt windows implement
// it and tests use fakes.

namespace pagelark {

// The daily reboot: the platform's own preparations, then the reboot request; true when the
// system accepted it.
class Maintenance {
  public:
    virtual ~Maintenance() = default;
    virtual bool RebootSequence(bool autoLogin, bool force) = 0;
};

}  // namespace pagelark
