#include "toolbars/toolbar_windows.h"

#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "core/ports/player_commands.h"

namespace pagelark {

namespace {

// The window and its address box as designed, in twips.
constexpr float kUrlBoxHeight = 375.0F;
constexpr float kToolNavClientHeight = 735.0F;

}  // namespace

// ---- ToolNavWindow ----

ToolNavWindow::ToolNavWindow(HelpTipWindow& tip, const ToolbarButtons& buttons,
                             PlayerCommands& commands, const std::string& startupFolder)
    : ToolbarWindow(tip, buttons.ToolNavButtons, commands, "ToolNav", kToolNavBorder,
                    kToolNavClientHeight, startupFolder),
      records_(buttons) {
    txtURL_ = new QLineEdit(this);
    txtURL_->setObjectName("txtURL");
    txtURL_->setMouseTracking(true);
    txtURL_->setGeometry(0, Button(0)->height(), width(),
                         ToPixels(kUrlBoxHeight, TwipsPerPixelY(*this)));
    // Never seen: it only gives Enter in the address box its meaning.
    cmdDefault_ = new QPushButton(this);
    cmdDefault_->setObjectName("cmdDefault");
    cmdDefault_->setFocusPolicy(Qt::NoFocus);
    const float x = TwipsPerPixelX(*this);
    const float y = TwipsPerPixelY(*this);
    cmdDefault_->setGeometry(ToPixels(-1000, x), ToPixels(720, y), ToPixels(495, x),
                             ToPixels(375, y));
    connect(cmdDefault_, &QPushButton::clicked, this,
            [this] { commands_.BrowseAddress(txtURL_->text().toStdString()); });
    connect(txtURL_, &QLineEdit::returnPressed, cmdDefault_, &QPushButton::click);
    txtURL_->installEventFilter(this);
}

void ToolNavWindow::SetAddress(const std::string& address) {
    txtURL_->setText(QString::fromStdString(address));
}

void ToolNavWindow::RunCommand(PlayerCommands& commands, int index) {
    switch (static_cast<ToolNavSlot>(index)) {
        case ToolNavSlot::Back:
            commands.CmdBack();
            break;
        case ToolNavSlot::Forward:
            commands.CmdForward();
            break;
        case ToolNavSlot::Stop:
            commands.CmdStop();
            break;
        case ToolNavSlot::Reload:
            commands.CmdReload();
            break;
        case ToolNavSlot::Home:
            commands.GoHome();
            break;
        case ToolNavSlot::Play:
            commands.CmdPlay();
            break;
        case ToolNavSlot::Quit:
            commands.CmdQuit();
            break;
        case ToolNavSlot::Config:
            commands.CmdConfig();
            break;
        case ToolNavSlot::Help:
            commands.CmdHelp();
            break;
    }
}

std::optional<UrlBoxState> ToolNavWindow::UrlBox() const {
    return UrlBoxState{static_cast<float>(txtURL_->height()) * TwipsPerPixelY(*this),
                       !txtURL_->isHidden(), records_.ToolNavUrlVisible};
}

void ToolNavWindow::PlaceUrlBox(const UrlBoxPlacement& placement) {
    txtURL_->setVisible(placement.Visible);
    KeepAddressBoxUnderButtons();
}

void ToolNavWindow::KeepAddressBoxUnderButtons() {
    txtURL_->setGeometry(0, Button(0)->height(), width(), txtURL_->height());
    txtURL_->selectAll();
}

void ToolNavWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    KeepAddressBoxUnderButtons();
}

bool ToolNavWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtURL_) {
        if (event->type() == QEvent::MouseMove) {
            PointerOverBackground();
        } else if (event->type() == QEvent::FocusIn) {
            // After the click that gave the focus, which would place the caret.
            QTimer::singleShot(0, txtURL_, [box = txtURL_] { box->selectAll(); });
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace pagelark
