#include "toolbars/toolbar_windows.h"

#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "core/ports/player_commands.h"
#include "qtshared/designed_size.h"
#include "qtshared/typed_address.h"

namespace pagelark {

namespace {

// The window and its address box as designed.
constexpr int kUrlBoxHeight = 25;
constexpr int kToolNavClientHeight = 49;

}  // namespace

// ---- ToolNavWindow ----

ToolNavWindow::ToolNavWindow(HelpTipWindow& tip, const ToolbarButtons& buttons,
                             PlayerCommands& commands, const std::string& startupFolder)
    : ToolbarWindow(tip, buttons.ToolNavButtons, commands, "ToolNav", kToolNavBorder,
                    kToolNavClientHeight, startupFolder),
      records_(buttons) {
    urlEdit_ = new QLineEdit(this);
    urlEdit_->setObjectName("txtURL");
    urlEdit_->setMouseTracking(true);
    // The on-screen keyboard's selection handles are windows of their own, drawn black
    // without a compositor: a square under each end of the address box's selected text.
    urlEdit_->setInputMethodHints(urlEdit_->inputMethodHints() | Qt::ImhNoTextHandles);
    urlEdit_->setGeometry(0, Button(0)->height(), width(), DesignedY(*this, kUrlBoxHeight));
    // Never seen: it only gives Enter in the address box its meaning.
    defaultButton_ = new QPushButton(this);
    defaultButton_->setObjectName("cmdDefault");
    defaultButton_->setFocusPolicy(Qt::NoFocus);
    defaultButton_->setGeometry(DesignedX(*this, -67), DesignedY(*this, 48), DesignedX(*this, 33),
                                DesignedY(*this, 25));
    connect(defaultButton_, &QPushButton::clicked, this, [this] {
        commands_.RunFromScreen(
            {Command::Browse, CommandSource::Screen, TypedAddress(urlEdit_->text())});
    });
    connect(urlEdit_, &QLineEdit::returnPressed, defaultButton_, &QPushButton::click);
    urlEdit_->installEventFilter(this);
}

void ToolNavWindow::SetAddress(const std::string& address) {
    urlEdit_->setText(QString::fromStdString(address));
}

Command ToolNavWindow::CommandOf(int index) const {
    switch (static_cast<ToolNavSlot>(index)) {
        case ToolNavSlot::Back:
            return Command::Back;
        case ToolNavSlot::Forward:
            return Command::Forward;
        case ToolNavSlot::Stop:
            return Command::Stop;
        case ToolNavSlot::Reload:
            return Command::Reload;
        case ToolNavSlot::Home:
            return Command::Home;
        case ToolNavSlot::Play:
            return Command::Play;
        case ToolNavSlot::Quit:
            return Command::Quit;
        case ToolNavSlot::Config:
            return Command::Config;
        case ToolNavSlot::Help:
            break;
    }
    return Command::Help;
}

std::optional<UrlBoxState> ToolNavWindow::UrlBox() const {
    return UrlBoxState{urlEdit_->height(), !urlEdit_->isHidden(), records_.ToolNavUrlVisible};
}

void ToolNavWindow::PlaceUrlBox(const UrlBoxPlacement& placement) {
    urlEdit_->setVisible(placement.visible);
    KeepAddressBoxUnderButtons();
}

void ToolNavWindow::KeepAddressBoxUnderButtons() {
    urlEdit_->setGeometry(0, Button(0)->height(), width(), urlEdit_->height());
    urlEdit_->selectAll();
}

void ToolNavWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    KeepAddressBoxUnderButtons();
}

bool ToolNavWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == urlEdit_) {
        if (event->type() == QEvent::MouseMove) {
            PointerOverBackground();
        } else if (event->type() == QEvent::FocusIn) {
            // After the click that gave the focus, which would place the caret.
            QTimer::singleShot(0, urlEdit_, [box = urlEdit_] { box->selectAll(); });
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace pagelark
