#include "config/controls.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QTimer>
#include <QValidator>

namespace pagelark {
namespace {

// Selecting at once would be undone by the mouse press that gave the focus.
class SelectAllOnFocus final : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            auto* box = static_cast<QLineEdit*>(watched);
            QTimer::singleShot(0, box, [box] { box->selectAll(); });
        }
        return false;
    }
};

// Typing stops at the box's length, but a longer text the program put there stays whole and
// can still be shortened.
class TypedLength final : public QValidator {
  public:
    TypedLength(int maxLength, QLineEdit* box) : QValidator(box), max_(maxLength) {
        connect(box, &QLineEdit::textChanged, this,
                [this](const QString& text) { shown_ = static_cast<int>(text.size()); });
    }
    State validate(QString& input, int&) const override {
        return input.size() > max_ && input.size() > shown_ ? Invalid : Acceptable;
    }

  private:
    int max_;
    int shown_ = 0;
};

template <class Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

}  // namespace

QPushButton* MakeButton(const char* name, const QString& caption, QWidget* parent,
                        const QString& tip) {
    auto* button = Named(new QPushButton(caption, parent), name);
    button->setToolTip(tip);
    return button;
}

QCheckBox* MakeCheck(const char* name, const QString& caption, QWidget* parent) {
    return Named(new QCheckBox(caption, parent), name);
}

QLabel* MakeLabel(const char* name, const QString& caption, QWidget* parent) {
    return Named(new QLabel(caption, parent), name);
}

QGroupBox* MakeFrame(const char* name, const QString& caption, QWidget* parent) {
    return Named(new QGroupBox(caption, parent), name);
}

QLineEdit* MakeBox(const char* name, int maxLength, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setValidator(new TypedLength(maxLength, box));
    box->installEventFilter(new SelectAllOnFocus(box));
    return box;
}

DayHoursBoxes AddDayHoursBoxes(QGridLayout* grid, int row, int columnSpan,
                               const DayHoursNames& names, QWidget* parent) {
    DayHoursBoxes boxes{};
    QLineEdit** const edits[3] = {&boxes.days, &boxes.from, &boxes.to};
    QLabel* labels[3] = {};
    for (int i = 0; i < 3; ++i) {
        const QString stem = names.stems[i];
        labels[i] = MakeLabel(S("lbl" + stem).c_str(), names.captions[i], parent);
        *edits[i] = MakeBox(S("txt" + stem).c_str(), i == 0 ? 255 : 5, parent);
        labels[i]->setBuddy(*edits[i]);
        (*edits[i])->setToolTip(i == 0 ? names.daysTip : names.hoursTip);
        (*edits[i])->setPlaceholderText(i == 0 ? "every day" : "00:00");
        if (i > 0) FitWidthToText(*edits[i], "00:000");
        boxes.all.push_back(labels[i]);
        boxes.all.push_back(*edits[i]);
    }
    auto* hours = new QHBoxLayout;
    hours->addWidget(boxes.from);
    hours->addWidget(labels[2]);
    hours->addWidget(boxes.to);
    hours->addStretch();
    grid->addWidget(labels[0], row, 0);
    grid->addWidget(boxes.days, row, 1, 1, columnSpan);
    grid->addWidget(labels[1], row + 1, 0);
    grid->addLayout(hours, row + 1, 1, 1, columnSpan);
    return boxes;
}

void FitWidthToText(QLineEdit* box, const QString& widestTyped) {
    const auto fit = [box, widestTyped] {
        const QFontMetrics metrics = box->fontMetrics();
        // The style's frame and margins: what its size hint adds to the 17 characters it is for.
        const int around = box->sizeHint().width() - 17 * metrics.horizontalAdvance(u'x');
        constexpr int kCursor = 2;
        box->setFixedWidth(std::max(metrics.horizontalAdvance(widestTyped),
                                    metrics.horizontalAdvance(box->text())) +
                           around + kCursor);
    };
    fit();
    QObject::connect(box, &QLineEdit::textChanged, box, fit);
}

namespace {

// A scroll bar's behaviour with the look of the style's spin box arrows: the up half raises the
// number, the down half lowers it, as the scroll bar's own arrows do at this height.
class SpinArrows final : public QScrollBar {
  public:
    using QScrollBar::QScrollBar;
    static constexpr int kOffLeft = 200;

  protected:
    void paintEvent(QPaintEvent*) override {
        QStyleOptionSpinBox option;
        option.initFrom(this);
        option.rect = rect();
        option.frame = false;
        option.buttonSymbols = QAbstractSpinBox::UpDownArrows;
        option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
        // The value runs against the number: up is open while the value can fall.
        option.stepEnabled = {};
        if (isEnabled() && value() > minimum())
            option.stepEnabled |= QAbstractSpinBox::StepUpEnabled;
        if (isEnabled() && value() < maximum())
            option.stepEnabled |= QAbstractSpinBox::StepDownEnabled;
        if (isSliderDown()) option.activeSubControls = QStyle::SC_None;
        QPainter painter(this);
        // Only the buttons: a spin box wider than this widget, its edit part off to the left.
        option.rect = QRect(0, 0, width() + kOffLeft, height());
        const QRect up =
            style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, this);
        // Also its line between the edit part and the buttons.
        constexpr int kSeparator = 2;
        option.rect.moveLeft(-up.left() - kSeparator);
        style()->drawComplexControl(QStyle::CC_SpinBox, &option, &painter, this);
    }
};

}  // namespace

QScrollBar* MakeUpDown(const char* name, UpDownScale scale, QWidget* parent) {
    auto* upDown = new SpinArrows(Qt::Vertical, parent);
    upDown->setObjectName(name);
    upDown->setRange(scale.minimum, scale.maximum);
    upDown->setSingleStep(1);
    upDown->setPageStep(1);
    upDown->setFixedWidth(upDown->sizeHint().width());
    upDown->setFixedHeight(2 * upDown->sizeHint().width() + 2);
    return upDown;
}

namespace {

constexpr const char* kManagedProperty = "managed";
constexpr const char* kOwnToolTipProperty = "ownToolTip";
constexpr const char* kStoredProperty = "stored";
constexpr const char* kSettingProperty = "setting";

bool IsManaged(const QWidget* widget) {
    return widget->property(kManagedProperty).toBool();
}

}  // namespace

void SetEnabled(std::initializer_list<QWidget*> widgets, bool enabled) {
    for (QWidget* w : widgets)
        w->setEnabled(enabled && !IsManaged(w));
}

void ServesSetting(QWidget* widget, const char* stem) {
    widget->setProperty(kSettingProperty, stem);
}

bool ShowsSetting(const QWidget* widget, std::string_view stem) {
    return ControlNameShows(S(widget->objectName()), stem) ||
           S(widget->property(kSettingProperty).toString()) == stem;
}

void MarkManaged(QWidget* widget, bool managed) {
    if (managed == IsManaged(widget)) return;
    if (managed) widget->setProperty(kOwnToolTipProperty, widget->toolTip());
    widget->setProperty(kManagedProperty, managed);
    widget->setToolTip(managed ? Q(kManagedNote)
                               : widget->property(kOwnToolTipProperty).toString());
    widget->setEnabled(!managed);
}

void ShowStored(QLineEdit* box, std::string_view stored) {
    box->setProperty(kStoredProperty,
                     QByteArray(stored.data(), static_cast<qsizetype>(stored.size())));
    box->setText(Q(stored));
}

std::string StoredText(const QLineEdit* box) {
    const QByteArray stored = box->property(kStoredProperty).toByteArray();
    const std::string_view bytes(stored.constData(), static_cast<std::size_t>(stored.size()));
    return box->text() == Q(bytes) ? std::string(bytes) : S(box->text());
}

void PressOnDoubleClick(QListWidget* list, QPushButton* props) {
    QObject::connect(list, &QListWidget::itemDoubleClicked, props, [props] {
        if (!props->isHidden()) {
            props->setFocus();
            props->click();
        }
    });
}

UpDownLink::UpDownLink(QLineEdit* box, QScrollBar* upDown, UpDownScale scale,
                       std::function<int(std::string_view)> valueOfText, bool clock)
    : QObject(box),
      box_(box),
      upDown_(upDown),
      scale_(scale),
      valueOfText_(std::move(valueOfText)),
      clock_(clock) {
    connect(box_, &QLineEdit::textChanged, this, &UpDownLink::BoxChanged);
    connect(upDown_, &QScrollBar::valueChanged, this, &UpDownLink::UpDownChanged);
}

void UpDownLink::Fill(const QString& text) {
    filling_ = true;
    box_->setText(text);
    upDown_->setValue(scale_.ValueFor(LeadingNumber(S(text))));
    filling_ = false;
}

void UpDownLink::BoxChanged(const QString& text) {
    // An emptied box waits for the number being typed.
    if (filling_ || !valueOfText_ || !LeadingNumberOf(S(text))) return;
    // A number beyond the up-down's range stays as typed (a longer one may be on its way, and
    // OK names a bad one): the up-down's nearest value would be written back over it.
    const int value = valueOfText_(S(text));
    if (value < upDown_->minimum() || value > upDown_->maximum()) return;
    upDown_->setValue(value);
}

void UpDownLink::UpDownChanged(int value) {
    if (filling_) return;
    const int number = scale_.NumberFor(value);
    const QString text = clock_ ? Q(TwoDigits(number)) : QString::number(number);
    if (box_->text() != text) box_->setText(text);
}

std::function<int(std::string_view)> PlainValueOf(UpDownScale scale) {
    return [scale](std::string_view text) { return scale.ValueFor(LeadingNumber(text)); };
}

}  // namespace pagelark
