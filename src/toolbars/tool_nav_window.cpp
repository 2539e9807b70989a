#include "toolbars/toolbar_windows.h"

#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "core/ports/player_commands.h"
#include "qtshared/designed_size.h"

namespace pagelark {

namespace {

// The window and its address box as designed.
constexpr int kUrlBoxHeight = 25;
constexpr int kToolNavClientHeight = 49;

}  // namespace

// ---- ToolNavWindow ----

ToolNavWindow::ToolNavWindow(HelpTipWindow& tip, const ToolbarButtons& buttons,
                             const std::string& startupFolder)
    : ToolbarWindow(tip, buttons.ToolNavButtons, "ToolNav", kToolNavBorder, kToolNavClientHeight,
                    startupFolder),
      records_(buttons) {
    txtURL_ = new QLineEdit(this);
    txtURL_->setObjectName("txtURL");
    txtURL_->setMouseTracking(true);
    txtURL_->setGeometry(0, Button(0)->height(), width(), DesignedY(*this, kUrlBoxHeight));
    // Never seen: it only gives Enter in the address box its meaning.
    cmdDefault_ = new QPushButton(this);
    cmdDefault_->setObjectName("cmdDefault");
    cmdDefault_->setFocusPolicy(Qt::NoFocus);
    cmdDefault_->setGeometry(DesignedX(*this, -67), DesignedY(*this, 48), DesignedX(*this, 33),
                             DesignedY(*this, 25));
    connect(cmdDefault_, &QPushButton::clicked, this, [this] {
        if (commands_ != nullptr) commands_->BrowseAddress(txtURL_->text().toStdString());
    });
    connect(txtURL_, &QLineEdit::returnPressed, cmdDefault_, &QPushButton::click);
    PreviewKeysOf(txtURL_);
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
    return UrlBoxState{txtURL_->height(), !txtURL_->isHidden(), records_.ToolNavUrlVisible};
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
    return ToolbarWindow::eventFilter(watched, event);
}

}  // namespace pagelark
