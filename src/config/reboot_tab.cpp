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
    rebootCheck_ = MakeCheck("chkReboot", "Auto &reboot", frame);
    rebootTimeLabel_ = MakeLabel("lblRebootTime", "Reboot time:", frame);
    rebootTimeHEdit_ = MakeBox("txtRebootTimeH", 2, frame);
    rebootTimeHUpDown_ = MakeUpDown("updRebootTimeH", kRebootHourScale, frame);
    rebootTimeMEdit_ = MakeBox("txtRebootTimeM", 2, frame);
    rebootTimeMUpDown_ = MakeUpDown("updRebootTimeM", kRebootMinuteScale, frame);
    // Typing an hour or a minute leaves the up-down where it is.
    hourLink_ =
        new UpDownLink(rebootTimeHEdit_, rebootTimeHUpDown_, kRebootHourScale, nullptr, true);
    minuteLink_ =
        new UpDownLink(rebootTimeMEdit_, rebootTimeMUpDown_, kRebootMinuteScale, nullptr, true);
    const int boxWidth = rebootTimeHEdit_->fontMetrics().horizontalAdvance("000") + 12;
    rebootTimeHEdit_->setFixedWidth(boxWidth);
    rebootTimeMEdit_->setFixedWidth(boxWidth);
    forceRebootCheck_ = MakeCheck("chkForceReboot", "&Force reboot", frame);
    autoLoginCheck_ = MakeCheck("chkAutoLogin", "Windows NT Auto &login", frame);
    userNameLabel_ = MakeLabel("lblUserName", "&User name:", frame);
    passwordLabel_ = MakeLabel("lblPassword", "&Password:", frame);
    domainLabel_ = MakeLabel("lblDomain", "&NT Domain:", frame);
    userNameEdit_ = MakeBox("txtUserName", 255, frame);
    passwordEdit_ = MakeBox("txtPassword", 255, frame);
    passwordEdit_->setEchoMode(QLineEdit::Password);
    domainEdit_ = MakeBox("txtDomain", 255, frame);
    userNameLabel_->setBuddy(userNameEdit_);
    passwordLabel_->setBuddy(passwordEdit_);
    domainLabel_->setBuddy(domainEdit_);

    auto* time = new QHBoxLayout;
    time->addWidget(rebootTimeLabel_);
    time->addWidget(rebootTimeHEdit_);
    time->addWidget(rebootTimeHUpDown_);
    time->addWidget(MakeLabel("lblRebootTimeColon", ":", frame));
    time->addWidget(rebootTimeMEdit_);
    time->addWidget(rebootTimeMUpDown_);
    time->addStretch();
    auto* grid = new QGridLayout(frame);
    grid->addWidget(rebootCheck_, 0, 0, 1, 2);
    grid->addLayout(time, 1, 0, 1, 2);
    grid->addWidget(forceRebootCheck_, 2, 0, 1, 2);
    grid->addWidget(autoLoginCheck_, 3, 0, 1, 2);
    grid->addWidget(userNameLabel_, 4, 0);
    grid->addWidget(userNameEdit_, 4, 1);
    grid->addWidget(passwordLabel_, 5, 0);
    grid->addWidget(passwordEdit_, 5, 1);
    grid->addWidget(domainLabel_, 6, 0);
    grid->addWidget(domainEdit_, 6, 1);
    grid->setRowStretch(7, 1);
    // Where the system does not log on from these values they could do nothing: not shown,
    // though filled and kept, so a file holding them is saved as it was.
    if (!kOsFeatures.automaticLogon) {
        for (QWidget* logon : std::initializer_list<QWidget*>{
                 autoLoginCheck_, userNameLabel_, userNameEdit_, passwordLabel_, passwordEdit_,
                 domainLabel_, domainEdit_})
            logon->hide();
    }
    auto* column = new QVBoxLayout(this);
    column->addWidget(frame);

    for (QLineEdit* box :
         {rebootTimeHEdit_, rebootTimeMEdit_, userNameEdit_, passwordEdit_, domainEdit_})
        connect(box, &QLineEdit::textChanged, this, [this] { changed_(); });
    connect(forceRebootCheck_, &QCheckBox::toggled, this, [this] { changed_(); });
    connect(rebootCheck_, &QCheckBox::toggled, this, [this] {
        changed_();
        ApplyReboot();
    });
    connect(autoLoginCheck_, &QCheckBox::toggled, this, [this] {
        changed_();
        ApplyAutoLogin();
    });
}

// Clearing the reboot greys out the logon check box only; its fields keep their own rule.
void RebootTab::ApplyReboot() {
    const bool on = rebootCheck_->isChecked();
    SetEnabled({rebootTimeLabel_, rebootTimeHEdit_, rebootTimeHUpDown_, rebootTimeMEdit_,
                rebootTimeMUpDown_, forceRebootCheck_},
               on);
    // Automatic logon can only be offered where the system logs on from its values.
    autoLoginCheck_->setEnabled(on && kOsFeatures.automaticLogon);
}

void RebootTab::ApplyAutoLogin() {
    const bool on = autoLoginCheck_->isChecked();
    SetEnabled(
        {userNameLabel_, userNameEdit_, passwordLabel_, passwordEdit_, domainLabel_, domainEdit_},
        on);
}

void RebootTab::Fill(const OptionFields& fields) {
    rebootCheck_->setChecked(fields.reboot);
    hourLink_->Fill(Q(fields.rebootHour));
    minuteLink_->Fill(Q(fields.rebootMinute));
    forceRebootCheck_->setChecked(fields.forceReboot);
    autoLoginCheck_->setChecked(fields.autoLogin);
    ShowStored(userNameEdit_, fields.userName);
    ShowStored(passwordEdit_, fields.password);
    ShowStored(domainEdit_, fields.domain);
    ApplyReboot();
    ApplyAutoLogin();
}

void RebootTab::Keep(OptionFields& fields) const {
    fields.reboot = rebootCheck_->isChecked();
    fields.rebootHour = S(rebootTimeHEdit_->text());
    fields.rebootMinute = S(rebootTimeMEdit_->text());
    fields.forceReboot = forceRebootCheck_->isChecked();
    fields.autoLogin = autoLoginCheck_->isChecked();
    fields.userName = StoredText(userNameEdit_);
    fields.password = StoredText(passwordEdit_);
    fields.domain = StoredText(domainEdit_);
}

}  // namespace pagelark
