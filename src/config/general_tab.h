#pragma once
// The "&General" tab: the home page and the screen saver options.

#include <QWidget>
#include <functional>

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
    // changed runs after every edit; events gives the address of the page on show.
    GeneralTab(std::function<void()> changed, ConfigEvents& events, QWidget* parent);
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
    QLineEdit* txtHomePage_;
    QCheckBox* chkAutoHome_;
    QCheckBox* chkScreenSaveActive_;
    QLabel* lblScreenSaveTimeOut_;
    QLabel* lblMinutes_;
    QLineEdit* txtScreenSaveTimeOut_;
    QScrollBar* updScreenSaveTimeOut_;
    UpDownLink* timeOutLink_;
    QRadioButton* optMouseMove_[3];
    QLineEdit* txtDefaultTime_;
    UpDownLink* defaultTimeLink_;
    QCheckBox* chkAutoLoop_;
    QCheckBox* chkLocked_;
};

}  // namespace pagelark
