#include "config/general_tab.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "config/controls.h"
#include "core/ports/config_events.h"
#include "document/product.h"

namespace pagelark {

GeneralTab::GeneralTab(std::function<void()> changed, ConfigEvents& events, QWidget* parent)
    : QWidget(parent), changed_(std::move(changed)), events_(events) {
    auto* home = MakeFrame("frmHomePage", "Home Page", this);
    auto* homeGrid = new QGridLayout(home);
    auto* lblHomePage = MakeLabel("lblHomePage", "&Address :", home);
    txtHomePage_ = MakeBox("txtHomePage", 1024, home);
    lblHomePage->setBuddy(txtHomePage_);
    auto* cmdDefPage = MakeButton("cmdDefPage", "&Default page", home);
    auto* cmdCurPage = MakeButton("cmdCurPage", "&Current page", home);
    chkAutoHome_ = MakeCheck("chkAutoHome", "&Go to home page when entering navigation mode", home);
    homeGrid->addWidget(lblHomePage, 0, 0);
    homeGrid->addWidget(txtHomePage_, 0, 1, 1, 3);
    homeGrid->addWidget(chkAutoHome_, 1, 0, 1, 2);
    homeGrid->addWidget(cmdDefPage, 1, 2);
    homeGrid->addWidget(cmdCurPage, 1, 3);
    homeGrid->setColumnStretch(1, 1);

    auto* saver = MakeFrame("frmGeneral", "Screen Saver", this);
    auto* saverGrid = new QGridLayout(saver);
    chkScreenSaveActive_ = MakeCheck("chkScreenSaveActive", "&Screen save active", saver);
    lblScreenSaveTimeOut_ = MakeLabel("lblScreenSaveTimeOut", "Screen save &delay :", saver);
    txtScreenSaveTimeOut_ = MakeBox("txtScreenSaveTimeOut", 2, saver);
    updScreenSaveTimeOut_ = MakeUpDown("updScreenSaveTimeOut", kScreenSaveTimeOutScale, saver);
    lblMinutes_ = MakeLabel("lblScreenSaveTimeOutUnit", "minutes", saver);
    lblScreenSaveTimeOut_->setBuddy(txtScreenSaveTimeOut_);
    timeOutLink_ = new UpDownLink(txtScreenSaveTimeOut_, updScreenSaveTimeOut_,
                                  kScreenSaveTimeOutScale, ScreenSaveTimeOutValue);
    txtScreenSaveTimeOut_->installEventFilter(this);

    auto* lblDefaultTime = MakeLabel("lblDefaultTime", "Default display &time :", saver);
    txtDefaultTime_ = MakeBox("txtDefaultTime", 3, saver);
    auto* updDefaultTime = MakeUpDown("updDefaultTime", kDefaultTimeScale, saver);
    lblDefaultTime->setBuddy(txtDefaultTime_);
    defaultTimeLink_ = new UpDownLink(txtDefaultTime_, updDefaultTime, kDefaultTimeScale,
                                      PlainValueOf(kDefaultTimeScale));
    chkAutoLoop_ = MakeCheck("chkAutoLoop", "&Loop after last page", saver);

    auto* lblMouseMove = MakeLabel("lblMouseMove", "&What to do if mouse move?", saver);
    const QString options[3] = {"&Nothing", "&Enter navigation mode", Q(QuitOptionCaption())};
    auto* mouseColumn = new QVBoxLayout;
    mouseColumn->addWidget(lblMouseMove);
    for (int i = 0; i < 3; ++i) {
        optMouseMove_[i] = new QRadioButton(options[i], saver);
        optMouseMove_[i]->setObjectName(QString("optMouseMove%1").arg(i));
        mouseColumn->addWidget(optMouseMove_[i]);
        connect(optMouseMove_[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (!on) return;
            changed_();
            emit MouseMoveChanged(i);
        });
    }
    lblMouseMove->setBuddy(optMouseMove_[0]);
    mouseColumn->addStretch();
    // Beside what a visitor's mouse does: what a visitor can do at all.
    chkLocked_ = MakeCheck("chkLocked", "Loc&ked: no way out for visitors", saver);
    chkLocked_->setToolTip(
        "No tool bar but navigation over the include list, no quit keys, no configuration "
        "window but through pagelark CONFIG, no local files");
    mouseColumn->addWidget(chkLocked_);

    const int boxWidth = txtDefaultTime_->fontMetrics().horizontalAdvance("0000") + 12;
    txtScreenSaveTimeOut_->setFixedWidth(boxWidth);
    txtDefaultTime_->setFixedWidth(boxWidth);
    saverGrid->addWidget(chkScreenSaveActive_, 0, 0, 1, 4);
    saverGrid->addWidget(lblScreenSaveTimeOut_, 1, 0);
    saverGrid->addWidget(txtScreenSaveTimeOut_, 1, 1);
    saverGrid->addWidget(updScreenSaveTimeOut_, 1, 2);
    saverGrid->addWidget(lblMinutes_, 1, 3);
    saverGrid->addWidget(lblDefaultTime, 2, 0);
    saverGrid->addWidget(txtDefaultTime_, 2, 1);
    saverGrid->addWidget(updDefaultTime, 2, 2);
    saverGrid->addWidget(MakeLabel("lblDefaultTimeUnit", "seconds", saver), 2, 3);
    saverGrid->addWidget(chkAutoLoop_, 3, 0, 1, 4);
    saverGrid->addLayout(mouseColumn, 0, 4, 4, 1);
    saverGrid->setColumnStretch(4, 1);

    auto* column = new QVBoxLayout(this);
    column->addWidget(home);
    column->addWidget(saver);
    column->addStretch();

    for (QLineEdit* box : {txtHomePage_, txtScreenSaveTimeOut_, txtDefaultTime_})
        connect(box, &QLineEdit::textChanged, this, [this] { changed_(); });
    for (QCheckBox* check : {chkAutoHome_, chkAutoLoop_, chkLocked_})
        connect(check, &QCheckBox::toggled, this, [this] { changed_(); });
    connect(chkScreenSaveActive_, &QCheckBox::toggled, this, [this] {
        changed_();
        ApplyScreenSaveActive();
    });
    connect(cmdDefPage, &QPushButton::clicked, this, [this] {
        changed_();
        txtHomePage_->setText(Q(kProductWebAddress));
    });
    connect(cmdCurPage, &QPushButton::clicked, this, [this] {
        changed_();
        txtHomePage_->setText(Q(events_.CurrentLocation()));
    });
}

void GeneralTab::ApplyScreenSaveActive() {
    const bool on = chkScreenSaveActive_->isChecked();
    SetEnabled({lblScreenSaveTimeOut_, txtScreenSaveTimeOut_, updScreenSaveTimeOut_, lblMinutes_},
               on);
}

bool GeneralTab::eventFilter(QObject* watched, QEvent* event) {
    // A stored delay above an hour stays until the operator types another.
    if (watched == txtScreenSaveTimeOut_ && event->type() == QEvent::FocusOut &&
        txtScreenSaveTimeOut_->isModified()) {
        const QString left = Q(ScreenSaveTimeOutOnLeave(S(txtScreenSaveTimeOut_->text())));
        if (left != txtScreenSaveTimeOut_->text()) txtScreenSaveTimeOut_->setText(left);
    }
    return false;
}

void GeneralTab::Fill(const OptionFields& fields) {
    txtHomePage_->setText(Q(fields.homePage));
    chkAutoHome_->setChecked(fields.autoHome);
    chkScreenSaveActive_->setChecked(fields.screenSaveActive);
    ApplyScreenSaveActive();
    timeOutLink_->Fill(Q(fields.screenSaveTimeOut));
    optMouseMove_[std::clamp(fields.mouseMove, 0, 2)]->setChecked(true);
    emit MouseMoveChanged(MouseMove());
    defaultTimeLink_->Fill(Q(fields.defaultTime));
    chkAutoLoop_->setChecked(fields.autoLoop);
    chkLocked_->setChecked(fields.locked);
}

int GeneralTab::MouseMove() const {
    if (optMouseMove_[0]->isChecked()) return 0;
    return optMouseMove_[1]->isChecked() ? 1 : 2;
}

void GeneralTab::Keep(OptionFields& fields) const {
    fields.homePage = S(txtHomePage_->text());
    fields.autoHome = chkAutoHome_->isChecked();
    fields.screenSaveActive = chkScreenSaveActive_->isChecked();
    fields.screenSaveTimeOut = S(txtScreenSaveTimeOut_->text());
    fields.mouseMove = MouseMove();
    fields.defaultTime = S(txtDefaultTime_->text());
    fields.autoLoop = chkAutoLoop_->isChecked();
    fields.locked = chkLocked_->isChecked();
}

}  // namespace pagelark
