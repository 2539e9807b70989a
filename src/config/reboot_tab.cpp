#include "config/reboot_tab.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QVBoxLayout>

#include "config/controls.h"
#include "platform/os_features.h"

namespace pagelark {

RebootTab::RebootTab(std::function<void()> changed, QWidget* parent)
    : QWidget(parent), changed_(std::move(changed)) {
    auto* frame = MakeFrame("frmReboot", "Reboot", this);
    chkReboot_ = MakeCheck("chkReboot", "Auto &reboot", frame);
    lblRebootTime_ = MakeLabel("lblRebootTime", "Reboot time:", frame);
    txtRebootTimeH_ = MakeBox("txtRebootTimeH", 2, frame);
    updRebootTimeH_ = MakeUpDown("updRebootTimeH", kRebootHourScale, frame);
    txtRebootTimeM_ = MakeBox("txtRebootTimeM", 2, frame);
    updRebootTimeM_ = MakeUpDown("updRebootTimeM", kRebootMinuteScale, frame);
    // Typing an hour or a minute leaves the up-down where it is.
    hourLink_ = new UpDownLink(txtRebootTimeH_, updRebootTimeH_, kRebootHourScale, nullptr);
    minuteLink_ = new UpDownLink(txtRebootTimeM_, updRebootTimeM_, kRebootMinuteScale, nullptr);
    const int boxWidth = txtRebootTimeH_->fontMetrics().horizontalAdvance("000") + 12;
    txtRebootTimeH_->setFixedWidth(boxWidth);
    txtRebootTimeM_->setFixedWidth(boxWidth);
    chkForceReboot_ = MakeCheck("chkForceReboot", "&Force reboot", frame);
    chkAutoLogin_ = MakeCheck("chkAutoLogin", "Windows NT Auto &login", frame);
    lblUserName_ = MakeLabel("lblUserName", "&User name:", frame);
    lblPassword_ = MakeLabel("lblPassword", "&Password:", frame);
    lblDomain_ = MakeLabel("lblDomain", "&NT Domain:", frame);
    txtUserName_ = MakeBox("txtUserName", 255, frame);
    txtPassword_ = MakeBox("txtPassword", 255, frame);
    txtPassword_->setEchoMode(QLineEdit::Password);
    txtDomain_ = MakeBox("txtDomain", 255, frame);
    lblUserName_->setBuddy(txtUserName_);
    lblPassword_->setBuddy(txtPassword_);
    lblDomain_->setBuddy(txtDomain_);

    auto* time = new QHBoxLayout;
    time->addWidget(lblRebootTime_);
    time->addWidget(txtRebootTimeH_);
    time->addWidget(updRebootTimeH_);
    time->addWidget(MakeLabel("lblRebootTimeColon", ":", frame));
    time->addWidget(txtRebootTimeM_);
    time->addWidget(updRebootTimeM_);
    time->addStretch();
    auto* grid = new QGridLayout(frame);
    grid->addWidget(chkReboot_, 0, 0, 1, 2);
    grid->addLayout(time, 1, 0, 1, 2);
    grid->addWidget(chkForceReboot_, 2, 0, 1, 2);
    grid->addWidget(chkAutoLogin_, 3, 0, 1, 2);
    grid->addWidget(lblUserName_, 4, 0);
    grid->addWidget(txtUserName_, 4, 1);
    grid->addWidget(lblPassword_, 5, 0);
    grid->addWidget(txtPassword_, 5, 1);
    grid->addWidget(lblDomain_, 6, 0);
    grid->addWidget(txtDomain_, 6, 1);
    grid->setRowStretch(7, 1);
    auto* column = new QVBoxLayout(this);
    column->addWidget(frame);

    for (QLineEdit* box :
         {txtRebootTimeH_, txtRebootTimeM_, txtUserName_, txtPassword_, txtDomain_})
        connect(box, &QLineEdit::textChanged, this, [this] { changed_(); });
    connect(chkForceReboot_, &QCheckBox::toggled, this, [this] { changed_(); });
    connect(chkReboot_, &QCheckBox::toggled, this, [this] {
        changed_();
        ApplyReboot();
    });
    connect(chkAutoLogin_, &QCheckBox::toggled, this, [this] {
        changed_();
        ApplyAutoLogin();
    });
}

// Clearing the reboot greys out the logon check box only; its fields keep their own rule.
void RebootTab::ApplyReboot() {
    const bool on = chkReboot_->isChecked();
    SetEnabled({lblRebootTime_, txtRebootTimeH_, updRebootTimeH_, txtRebootTimeM_, updRebootTimeM_,
                chkForceReboot_},
               on);
    // Automatic logon can only be offered where the system logs on from its values.
    chkAutoLogin_->setEnabled(on && kOsFeatures.automaticLogon);
}

void RebootTab::ApplyAutoLogin() {
    const bool on = chkAutoLogin_->isChecked();
    SetEnabled({lblUserName_, txtUserName_, lblPassword_, txtPassword_, lblDomain_, txtDomain_},
               on);
}

void RebootTab::Fill(const OptionFields& fields) {
    chkReboot_->setChecked(fields.reboot);
    hourLink_->Fill(Q(fields.rebootHour));
    minuteLink_->Fill(Q(fields.rebootMinute));
    chkForceReboot_->setChecked(fields.forceReboot);
    chkAutoLogin_->setChecked(fields.autoLogin);
    txtUserName_->setText(Q(fields.userName));
    txtPassword_->setText(Q(fields.password));
    txtDomain_->setText(Q(fields.domain));
    ApplyReboot();
    ApplyAutoLogin();
}

void RebootTab::Keep(OptionFields& fields) const {
    fields.reboot = chkReboot_->isChecked();
    fields.rebootHour = S(txtRebootTimeH_->text());
    fields.rebootMinute = S(txtRebootTimeM_->text());
    fields.forceReboot = chkForceReboot_->isChecked();
    fields.autoLogin = chkAutoLogin_->isChecked();
    fields.userName = S(txtUserName_->text());
    fields.password = S(txtPassword_->text());
    fields.domain = S(txtDomain_->text());
}

}  // namespace pagelark
