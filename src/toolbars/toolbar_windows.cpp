#include "toolbars/toolbar_windows.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <utility>

#include "core/ports/player_commands.h"
#include "qtshared/designed_size.h"

namespace pagelark {

namespace {

const QString kCaption = QStringLiteral("Pagelark");

Qt::WindowFlags ToolbarFlags() {
    // A caption and nothing else: no system menu, no close, minimise or maximise box.
    return Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
}

}  // namespace

PixelRect OuterRect(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    return {frame.x(), frame.y(), frame.width(), frame.height()};
}

// ---- ImageButton ----

ImageButton::ImageButton(int index, QWidget* parent) : QAbstractButton(parent), index_(index) {
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
}

void ImageButton::SetPicture(const QPixmap& picture) {
    picture_ = picture;
    setFixedSize(picture_.size());
    update();
}

void ImageButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

void ImageButton::mouseMoveEvent(QMouseEvent* event) {
    emit Hovered(index_);
    QAbstractButton::mouseMoveEvent(event);
    // Not the window's background: the tip must stay.
    event->accept();
}

// ---- ToolbarWindow ----

ToolbarWindow::ToolbarWindow(HelpTipWindow& tip, std::span<const ToolbarButton> records,
                             PlayerCommands& commands, const char* prefix, BorderStyle border,
                             int designedClientHeight, std::string startupFolder)
    : QWidget(nullptr, ToolbarFlags()),
      tip_(tip),
      commands_(commands),
      records_(records),
      prefix_(prefix),
      startupFolder_(std::move(startupFolder)),
      border_(border) {
    setObjectName(QStringLiteral("frm%1").arg(prefix));
    setMouseTracking(true);
    buttons_.reserve(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        const int index = static_cast<int>(i);
        auto* button = new ImageButton(index, this);
        button->setObjectName(QStringLiteral("btn%1%2").arg(prefix).arg(index));
        button->setProperty("index", index);
        button->SetPicture(DefaultPicture(index));
        connect(button, &QAbstractButton::clicked, this,
                [this, index] { commands_.RunFromScreen(CommandOf(index)); });
        connect(button, &ImageButton::Hovered, this, [this](int hovered) {
            tip_.ShowHelpTip(records_[static_cast<std::size_t>(hovered)].HelpTip);
        });
        buttons_.push_back(button);
    }
    resize(width(), DesignedY(*this, designedClientHeight));
    rowHeight_ = DesignedY(*this, kDesignedRowHeight);
}

QPixmap ToolbarWindow::DefaultPicture(int index) const {
    QPixmap picture(QStringLiteral(":/toolbars/%1/%2").arg(prefix_.c_str()).arg(index));
    if (picture.isNull()) {
        picture = QPixmap(kDefaultPicturePixels.width, kDefaultPicturePixels.height);
        picture.fill(Qt::transparent);
    }
    return picture;
}

void ToolbarWindow::LayOut(LayoutPass pass) {
    std::vector<PixelSize> pixels;
    pixels.reserve(buttons_.size());
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        ImageButton* button = buttons_[i];
        const ToolbarButton& record = records_[i];
        if (record.Visible) {
            QPixmap file;
            const bool loads =
                !record.Icon.empty() &&
                file.load(QString::fromStdString(ResolveIconPath(record.Icon, startupFolder_)));
            switch (ChooseButtonPicture(pass, record.Icon, loads)) {
                case ButtonPicture::Default:
                    button->SetPicture(DefaultPicture(static_cast<int>(i)));
                    break;
                case ButtonPicture::File:
                    button->SetPicture(file);
                    break;
                case ButtonPicture::Unchanged:
                    break;
            }
        }
        pixels.push_back({button->width(), button->height()});
    }

    const QRect screenArea = ScreenOf(*this)->geometry();
    ToolbarLayoutInput input;
    input.buttons = records_;
    input.buttonPixels = pixels;
    // The window manager adds the frame around the client area we size.
    input.outerHeight = height();
    input.border = border_;
    input.screenWidth = screenArea.width();
    input.urlBox = UrlBox();
    input.pass = pass;
    input.previousRowHeight = rowHeight_;
    const ToolbarLayout layout = LayOutToolbar(input);
    rowHeight_ = layout.rowHeight;

    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        buttons_[i]->move(layout.buttons[i].left, 0);
        buttons_[i]->setVisible(layout.buttons[i].visible);
    }
    visibleCount_ = layout.visibleCount;
    SetClientSize({layout.window.width, layout.window.height});
    if (layout.urlBox) PlaceUrlBox(*layout.urlBox);
    PlaceTopRight();
    if (windowTitle() != kCaption) setWindowTitle(kCaption);
}

QMargins ToolbarWindow::FrameMargins() const {
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
}

void ToolbarWindow::PlaceTopRight() {
    const QRect screenArea = ScreenOf(*this)->geometry();
    placedFrame_ = FrameMargins();
    move(screenArea.x() + screenArea.width() - frameGeometry().width(), screenArea.y());
}

void ToolbarWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // The window manager tells the frame's size only once the window is on screen: placed
    // without it, the frame would stick out of the corner. A visitor's move keeps the frame.
    if (FrameMargins() != placedFrame_) PlaceTopRight();
}

void ToolbarWindow::PointerOverBackground() {
    tip_.HideHelpTip();
}

bool ToolbarWindow::MoveIsActivity(const QWidget& receiver) const {
    return ButtonMoveIsActivity() || qobject_cast<const ImageButton*>(&receiver) == nullptr;
}

void ToolbarWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Window managers that give a tool window a minimise button: it comes straight back.
    if (event->type() == QEvent::WindowStateChange && isMinimized())
        QTimer::singleShot(0, this,
                           [this] { setWindowState(windowState() & ~Qt::WindowMinimized); });
}

void ToolbarWindow::closeEvent(QCloseEvent* event) {
    if (commands_.Finishing()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void ToolbarWindow::mouseMoveEvent(QMouseEvent* event) {
    PointerOverBackground();
    QWidget::mouseMoveEvent(event);
}

}  // namespace pagelark
