#pragma once
// The two tool bars and the help tip, drawn inside the show's window. Thin: they lay themselves
// out with the layout arithmetic and hand every click to the commands; keys and activity reach
// the player through the application's own filter.

#include <QAbstractButton>
#include <QPixmap>
#include <QWidget>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/toolbar_buttons.h"
#include "toolbars/help_tip_placement.h"
#include "toolbars/toolbar_layout.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QScreen;

namespace pagelark {

class PlayerCommands;
enum class Command;

// A widget's rectangle on the screen.
PixelRect ScreenRect(const QWidget& widget);

// A button that is just its picture, as large as the picture.
class ImageButton final : public QAbstractButton {
    Q_OBJECT
  public:
    ImageButton(int index, QWidget* parent);
    int Index() const { return index_; }
    void SetPicture(const QPixmap& picture);
    const QPixmap& Picture() const { return picture_; }
    QSize sizeHint() const override { return picture_.size(); }

  signals:
    void Hovered(int index);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    int index_;
    QPixmap picture_;
};

// The small box under the pointer with a button's help tip, inside parent (the stage); never
// takes the focus.
class HelpTipWindow final : public QWidget {
    Q_OBJECT
  public:
    explicit HelpTipWindow(QWidget* parent);
    // On every pointer move over a button: the same text leaves the tip where it is.
    void ShowHelpTip(const std::string& text);
    void HideHelpTip() { ShowHelpTip(std::string()); }
    const std::string& CurrentTipText() const { return currentTipText_; }

  private:
    void Place(const std::string& tipText);

    QLabel* label_;
    std::string currentTipText_;
};

// What the two tool bars share: the row of buttons, the layout and the pointer. Each is the
// client area of the frame (OverlayFrame) it is shown in.
class ToolbarWindow : public QWidget {
    Q_OBJECT
  public:
    int VisibleCount() const { return visibleCount_; }
    ImageButton* Button(int index) const { return buttons_[static_cast<std::size_t>(index)]; }
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    // Lays the client area out from the records as they are now.
    void LayOut(LayoutPass pass);
    // A pointer move that reached receiver, one of this window's widgets, is the visitor's.
    bool MoveIsActivity(const QWidget& receiver) const;

  protected:
    // Relative pictures are taken from startupFolder (with its trailing separator).
    ToolbarWindow(HelpTipWindow& tip, std::span<const ToolbarButton> records,
                  PlayerCommands& commands, const char* prefix, BorderStyle border,
                  int designedClientHeight, std::string startupFolder);

    // The command of the button at index.
    virtual Command CommandOf(int index) const = 0;
    // Whether a pointer move over a button also counts as activity.
    virtual bool ButtonMoveIsActivity() const = 0;
    virtual std::optional<UrlBoxState> UrlBox() const { return std::nullopt; }
    virtual void PlaceUrlBox(const UrlBoxPlacement&) {}
    virtual void SetClientSize(QSize size) = 0;
    // The pointer over the background: the tip goes.
    void PointerOverBackground();

    void mouseMoveEvent(QMouseEvent* event) override;

    HelpTipWindow& tip_;
    PlayerCommands& commands_;

  private:
    QPixmap DefaultPicture(int index) const;

    std::span<const ToolbarButton> records_;
    std::string prefix_;
    std::string startupFolder_;
    BorderStyle border_;
    std::vector<ImageButton*> buttons_;
    int visibleCount_ = 0;
    int rowHeight_ = kDesignedRowHeight;
};

// Tool Run: the recorder key pad shown while the presentation plays; fixed size.
class ToolRunWindow final : public ToolbarWindow {
    Q_OBJECT
  public:
    ToolRunWindow(HelpTipWindow& tip, const ToolbarButtons& buttons, PlayerCommands& commands,
                  const std::string& startupFolder);

  protected:
    Command CommandOf(int index) const override;
    bool ButtonMoveIsActivity() const override { return true; }
    void SetClientSize(QSize size) override { setFixedSize(size); }
};

// Tool Nav: browser commands and the address box, shown in navigation mode; resizable.
class ToolNavWindow final : public ToolbarWindow {
    Q_OBJECT
  public:
    ToolNavWindow(HelpTipWindow& tip, const ToolbarButtons& buttons, PlayerCommands& commands,
                  const std::string& startupFolder);
    QLineEdit* AddressBox() const { return urlEdit_; }
    void SetAddress(const std::string& address);

  protected:
    Command CommandOf(int index) const override;
    bool ButtonMoveIsActivity() const override { return false; }
    std::optional<UrlBoxState> UrlBox() const override;
    void PlaceUrlBox(const UrlBoxPlacement& placement) override;
    void SetClientSize(QSize size) override { resize(size); }
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Under button 0, as wide as the window, its text selected.
    void KeepAddressBoxUnderButtons();

    const ToolbarButtons& records_;
    QLineEdit* urlEdit_;
    QPushButton* defaultButton_;
};

}  // namespace pagelark
