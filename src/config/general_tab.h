#pragma once
// The "&General" tab: the home page and the screen saver options.

#include <QWidget>
#include <functional>
#include <string>

#include "editor/option_fields.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollBar;

namespace pagelark {

class ConfigEvents;
class UpDownLink;

class GeneralTab final : public QWidget {
    Q_OBJECT
  public:
    // changed runs after every edit; events gives the address of the page on show;
    // defaultHomePage is what the Default page button puts in the home page box.
    GeneralTab(std::function<void()> changed, ConfigEvents& events, std::string defaultHomePage,
               QWidget* parent);
    void Fill(const OptionFields& fields);
    void Keep(OptionFields& fields) const;
    int MouseMove() const;

  signals:
    void MouseMoveChanged(int option);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ApplyScreenSaveActive();

    std::function<void()> changed_;
    ConfigEvents& events_;
    std::string defaultHomePage_;
    QLineEdit* homePageEdit_;
    QCheckBox* autoHomeCheck_;
    QCheckBox* screenSaveActiveCheck_;
    QLabel* screenSaveTimeOutLabel_;
    QLabel* minutesLabel_;
    QLineEdit* screenSaveTimeOutEdit_;
    QScrollBar* screenSaveTimeOutUpDown_;
    UpDownLink* timeOutLink_;
    QRadioButton* mouseMoveChoice_[3];
    QLineEdit* defaultTimeEdit_;
    UpDownLink* defaultTimeLink_;
    QCheckBox* autoLoopCheck_;
    QCheckBox* clearVisitorDataCheck_;
    QCheckBox* onScreenKeyboardCheck_;
    QCheckBox* lockedCheck_;
};

}  // namespace pagelark
