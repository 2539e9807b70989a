#pragma once
// The on-screen keyboard drawn inside the stage window: a window of its own would need a window
// manager or a compositor to place it, and a Wayland compositor places no window for a client.

#include <QQuickWidget>

namespace pagelark {

class KeyboardPanel final : public QQuickWidget {
  public:
    // Along the bottom of stage, full width, shown while the input method shows its panel.
    explicit KeyboardPanel(QWidget* stage);

    // Qt Virtual Keyboard is the input method and leaves its panel to the program.
    static bool Wanted();

    // The top of the keys, in the stage's coordinates, for the input method's rectangle.
    int TopInStage(const QRectF& keyboardRectangle) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Follow();
};

}  // namespace pagelark
