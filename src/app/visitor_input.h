#pragma once
// The visitor's keys, pointer moves and touches, taken for the whole program in one place: a key
// pressed in the stage or a tool bar reaches the player once, a pointer move over a tool bar
// counts as activity where the tool bars say it does, and so does a click or a scroll.

#include <QEvent>
#include <QObject>
#include <functional>

class QWidget;

namespace pagelark {

class PlayerCommands;
class QtToolbars;

class VisitorInput final : public QObject {
  public:
    // Installed on the application at once; the windows must outlive it.
    VisitorInput(PlayerCommands& commands, const QWidget& stage, const QtToolbars& toolbars);
    ~VisitorInput() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Input that wakes the dark screen, and the rest of its gesture, goes no further.
    bool Waking(QEvent::Type type, const std::function<bool()>& ours);

    PlayerCommands& commands_;
    const QWidget& stage_;
    const QtToolbars& toolbars_;
    // A key event travels up the widget chain, and the engine hands a key the page left back
    // to the stage as a copy: both carry the press's timestamp.
    quint64 lastKeyTimestamp_ = 0;
    int lastKey_ = 0;
    bool wakingGesture_ = false;
};

}  // namespace pagelark
