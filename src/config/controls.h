#pragma once
// Small building blocks the configuration window and the properties dialog share: named
// controls, boxes that select their text on focus, and a text box kept in step with the
// scroll bar that serves as its up-down.

#include <QObject>
#include <QString>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "editor/option_fields.h"
#include "platform/text.h"

class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;
class QWidget;

namespace pagelark {

// Stored text as shown: bytes that are not UTF-8 are read as Windows-1252.
inline QString Q(std::string_view text) {
    const std::string utf8 = StoredTextToUtf8(text);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
inline std::string S(const QString& text) {
    return text.toStdString();
}

// Every button says what it does when the pointer rests on it.
QPushButton* MakeButton(const char* name, const QString& caption, QWidget* parent,
                        const QString& tip = {});
QCheckBox* MakeCheck(const char* name, const QString& caption, QWidget* parent);
QLabel* MakeLabel(const char* name, const QString& caption, QWidget* parent);
QGroupBox* MakeFrame(const char* name, const QString& caption, QWidget* parent);
// A text box that takes at most maxLength typed characters, shows whatever the program puts in
// it whole, and selects all its text when it gets the focus.
QLineEdit* MakeBox(const char* name, int maxLength, QWidget* parent);
// A box as wide as widestTyped, and wider while it shows a longer text: nothing shows clipped.
void FitWidthToText(QLineEdit* box, const QString& widestTyped);
// A vertical scroll bar used as an up-down: its up arrow lowers the value, which raises the
// number the value stands for.
QScrollBar* MakeUpDown(const char* name, UpDownScale scale, QWidget* parent);

// Days of the week and a window of hours, stored as a page's Days, From and To: a labelled
// box for the days on the grid's row, and the two times on the next, each box named "txt" and
// its stem, its label "lbl" and the stem. Empty boxes say what empty means.
struct DayHoursBoxes {
    QLineEdit* days;
    QLineEdit* from;
    QLineEdit* to;
    std::vector<QWidget*> all;  // the boxes and their labels
};
struct DayHoursNames {
    const char* stems[3];
    QString captions[3];
    QString daysTip;
    QString hoursTip;
};
DayHoursBoxes AddDayHoursBoxes(QGridLayout* grid, int row, int columnSpan,
                               const DayHoursNames& names, QWidget* parent);

// A box showing stored text, which gives back the stored bytes while it shows them unchanged
// (Q alone would turn bytes that are not UTF-8 into UTF-8).
void ShowStored(QLineEdit* box, std::string_view stored);
std::string StoredText(const QLineEdit* box);

// A managed control stays disabled whatever the window's rules say.
void SetEnabled(std::initializer_list<QWidget*> widgets, bool enabled);
// Greyed with the note that the administrator sets it, or given back its own tip; the tab's
// Fill then applies its rules.
void MarkManaged(QWidget* widget, bool managed);
// A control that edits a setting although its name does not say so (a button that fills the
// setting's box) is found with the setting's control by its stem.
void ServesSetting(QWidget* widget, const char* stem);
bool ShowsSetting(const QWidget* widget, std::string_view stem);
// A double click on a line presses the list's Properties button, while that is not hidden.
void PressOnDoubleClick(QListWidget* list, QPushButton* props);

// A box and its up-down kept in step: a change of the up-down writes its number into the box;
// a change of the box moves the up-down to valueOfText of the text, unless valueOfText is
// empty (boxes whose typing leaves the up-down alone) or the value is outside its range. Each side
// only reacts to real changes, so the two never chase each other.
class UpDownLink final : public QObject {
    Q_OBJECT
  public:
    // clock: the up-down writes its number with two digits, as a clock's hours and minutes.
    UpDownLink(QLineEdit* box, QScrollBar* upDown, UpDownScale scale,
               std::function<int(std::string_view)> valueOfText, bool clock = false);
    // Shows a stored number: the box takes the text as it stands and the up-down the nearest
    // value it can hold, without writing that value back over the text.
    void Fill(const QString& text);

  private:
    void BoxChanged(const QString& text);
    void UpDownChanged(int value);

    QLineEdit* box_;
    QScrollBar* upDown_;
    UpDownScale scale_;
    std::function<int(std::string_view)> valueOfText_;
    bool clock_;
    bool filling_ = false;
};

// The value of a box's number on a plain scale: its leading number, unlimited.
std::function<int(std::string_view)> PlainValueOf(UpDownScale scale);

}  // namespace pagelark
