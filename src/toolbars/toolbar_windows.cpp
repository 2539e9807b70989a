#include "toolbars/toolbar_windows.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <utility>

#include "core/ports/player_commands.h"
#include "qtshared/designed_size.h"

namespace pagelark {

PixelRect ScreenRect(const QWidget& widget) {
    const QPoint topLeft = widget.mapToGlobal(QPoint(0, 0));
    return {topLeft.x(), topLeft.y(), widget.width(), widget.height()};
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
    : QWidget(nullptr),
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
    // The frame goes around the client area we size.
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
}

void ToolbarWindow::PointerOverBackground() {
    tip_.HideHelpTip();
}

bool ToolbarWindow::MoveIsActivity(const QWidget& receiver) const {
    return ButtonMoveIsActivity() || qobject_cast<const ImageButton*>(&receiver) == nullptr;
}

void ToolbarWindow::mouseMoveEvent(QMouseEvent* event) {
    PointerOverBackground();
    QWidget::mouseMoveEvent(event);
}

}  // namespace pagelark
