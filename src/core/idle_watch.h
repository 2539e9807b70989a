#pragma once
// When the visitor was last seen, when play stops on its own, and what a pointer move does.
// Keys, commands, the pointer and navigations the visitor made are activity; times come in
// as clock readings, nothing here reads a clock.

#include <chrono>
#include <optional>

#include "core/ports/port_types.h"
#include "model/modes.h"

namespace pagelark {

class IdleWatch {
  public:
    enum class Move { None, EnterNavigation, EndShow };

    void Seen(double now) { lastActivity_ = now; }
    // The visitor's own input: a key, a click, a touch, the pointer moved. A visit lasts from
    // the first to the idle time after the last; what they left must not reach the next one.
    void Input(double now) {
        lastActivity_ = now;
        lastInput_ = now;
        ++inputs_;
    }
    // How many inputs were seen so far: a change says the visitor is there.
    unsigned Inputs() const { return inputs_; }
    bool VisitOver(double now, std::chrono::seconds timeOut) const;
    void VisitEnds() { lastInput_.reset(); }
    // The clock was set back: what was seen later than now was seen now.
    void Follow(double now);
    void SaverModeBegins(double now) { saverModeStart_ = now; }
    // Where the pointer rests while nobody is there: play starts or resumes.
    void RestsAt(ScreenPoint pointer) {
        reference_ = pointer;
        lastPointer_ = pointer;
        referenceSet_ = true;
    }
    bool HasReference() const { return referenceSet_; }
    // A touch may land where the pointer rests; it still is the visitor.
    void Touched() { touched_ = true; }

    // A pointer away from where it rests is the visitor, and one moved since the last reading
    // their input and activity. What it does beyond that waits for the hand that started screen
    // saver mode to leave the mouse.
    Move PointerAt(ScreenPoint pointer, double now, MouseMovePolicy policy, bool navigationMode,
                   bool locked);
    // Navigation mode and a pause end when nobody was seen for the time-out, with the screen
    // saver active; a time-out of zero plays as a minute, or every pause would end at once.
    bool IdleOver(double now, bool screenSaveActive, std::chrono::seconds timeOut) const;

    double LastActivity() const { return lastActivity_; }
    double SaverModeStart() const { return saverModeStart_; }
    ScreenPoint LastPointer() const { return lastPointer_; }

  private:
    double lastActivity_ = 0.0;
    std::optional<double> lastInput_;
    double saverModeStart_ = 0.0;
    bool referenceSet_ = false;
    bool touched_ = false;
    unsigned inputs_ = 0;
    ScreenPoint reference_;
    ScreenPoint lastPointer_;
};

}  // namespace pagelark
