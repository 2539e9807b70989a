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
    QCheckBox* chkReboot_;
    QLabel* lblRebootTime_;
    QLineEdit* txtRebootTimeH_;
    QLineEdit* txtRebootTimeM_;
    QScrollBar* updRebootTimeH_;
    QScrollBar* updRebootTimeM_;
    UpDownLink* hourLink_;
    UpDownLink* minuteLink_;
    QCheckBox* chkForceReboot_;
    QCheckBox* chkAutoLogin_;
    QLabel* lblUserName_;
    QLabel* lblPassword_;
    QLabel* lblDomain_;
    QLineEdit* txtUserName_;
    QLineEdit* txtPassword_;
    QLineEdit* txtDomain_;
};

}  // namespace pagelark
