#pragma once
// The "Reboot" tab: the daily reboot and the automatic logon prepared before it.

#include <QWidget>
#include <functional>

#include "editor/option_fields.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QScrollBar;

namespace pagelark {

class UpDownLink;

class RebootTab final : public QWidget {
    Q_OBJECT
  public:
    RebootTab(std::function<void()> changed, QWidget* parent);
    void Fill(const OptionFields& fields);
    void Keep(OptionFields& fields) const;

  private:
    void ApplyReboot();
    void ApplyAutoLogin();

    std::function<void()> changed_;
    QCheckBox* rebootCheck_;
    QLabel* rebootTimeLabel_;
    QLineEdit* rebootTimeHEdit_;
    QLineEdit* rebootTimeMEdit_;
    QScrollBar* rebootTimeHUpDown_;
    QScrollBar* rebootTimeMUpDown_;
    UpDownLink* hourLink_;
    UpDownLink* minuteLink_;
    QCheckBox* forceRebootCheck_;
    QCheckBox* autoLoginCheck_;
    QLabel* userNameLabel_;
    QLabel* passwordLabel_;
    QLabel* domainLabel_;
    QLineEdit* userNameEdit_;
    QLineEdit* passwordEdit_;
    QLineEdit* domainEdit_;
};

}  // namespace pagelark
