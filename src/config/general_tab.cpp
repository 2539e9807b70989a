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

namespace pagelark {

GeneralTab::GeneralTab(std::function<void()> changed, ConfigEvents& events,
                       std::string defaultHomePage, QWidget* parent)
    : QWidget(parent),
      changed_(std::move(changed)),
      events_(events),
      defaultHomePage_(std::move(defaultHomePage)) {
    auto* home = MakeFrame("frmHomePage", "Home Page", this);
    auto* homeGrid = new QGridLayout(home);
    auto* homePageLabel = MakeLabel("lblHomePage", "&Address :", home);
    homePageEdit_ = MakeBox("txtHomePage", 1024, home);
    homePageLabel->setBuddy(homePageEdit_);
    auto* defPageButton = MakeButton("cmdDefPage", "&Default page", home,
                                     "Puts the help's home page in the address box");
    auto* curPageButton = MakeButton("cmdCurPage", "&Current page", home,
                                     "Puts the address of the page on show in the address box");
    ServesSetting(defPageButton, "HomePage");
    ServesSetting(curPageButton, "HomePage");
    autoHomeCheck_ =
        MakeCheck("chkAutoHome", "&Go to home page when entering navigation mode", home);
    // Beside the address, so the window keeps its size: typing is what a visitor does in
    // navigation mode.
    onScreenKeyboardCheck_ = MakeCheck("chkOnScreenKeyboard", "&On-screen keyboard", home);
    onScreenKeyboardCheck_->setToolTip(
        "Text fields bring up a keyboard on the screen in navigation mode, as they do with a "
        "touch screen; taken at the next start");
    homeGrid->addWidget(homePageLabel, 0, 0);
    homeGrid->addWidget(homePageEdit_, 0, 1);
    homeGrid->addWidget(onScreenKeyboardCheck_, 0, 2, 1, 2);
    homeGrid->addWidget(autoHomeCheck_, 1, 0, 1, 2);
    homeGrid->addWidget(defPageButton, 1, 2);
    homeGrid->addWidget(curPageButton, 1, 3);
    homeGrid->setColumnStretch(1, 1);

    auto* saver = MakeFrame("frmGeneral", "Screen Saver", this);
    auto* saverGrid = new QGridLayout(saver);
    screenSaveActiveCheck_ = MakeCheck("chkScreenSaveActive", "&Screen save active", saver);
    screenSaveTimeOutLabel_ = MakeLabel("lblScreenSaveTimeOut", "Screen save &delay :", saver);
    screenSaveTimeOutEdit_ = MakeBox("txtScreenSaveTimeOut", 5, saver);  // up to "59:59"
    screenSaveTimeOutUpDown_ = MakeUpDown("updScreenSaveTimeOut", kScreenSaveTimeOutScale, saver);
    minutesLabel_ = MakeLabel("lblScreenSaveTimeOutUnit", "minutes", saver);
    screenSaveTimeOutLabel_->setBuddy(screenSaveTimeOutEdit_);
    timeOutLink_ = new UpDownLink(screenSaveTimeOutEdit_, screenSaveTimeOutUpDown_,
                                  kScreenSaveTimeOutScale, ScreenSaveTimeOutValue);
    screenSaveTimeOutEdit_->installEventFilter(this);
    connect(screenSaveTimeOutUpDown_, &QScrollBar::actionTriggered, this, [this](int action) {
        // The up arrow lowers the value.
        const bool up = action == QAbstractSlider::SliderSingleStepSub ||
                        action == QAbstractSlider::SliderPageStepSub;
        if (!up && action != QAbstractSlider::SliderSingleStepAdd &&
            action != QAbstractSlider::SliderPageStepAdd)
            return;
        const auto minutes = ScreenSaveTimeOutStep(S(screenSaveTimeOutEdit_->text()), up);
        if (!minutes) return;
        screenSaveTimeOutUpDown_->setSliderPosition(kScreenSaveTimeOutScale.ValueFor(*minutes));
        // The value may stay where it was (0:42 shows on 1): the box is written here.
        screenSaveTimeOutEdit_->setText(QString::number(*minutes));
    });

    auto* defaultTimeLabel = MakeLabel("lblDefaultTime", "Default display &time :", saver);
    defaultTimeEdit_ = MakeBox("txtDefaultTime", 3, saver);
    auto* defaultTimeUpDown = MakeUpDown("updDefaultTime", kDefaultTimeScale, saver);
    defaultTimeLabel->setBuddy(defaultTimeEdit_);
    defaultTimeLink_ = new UpDownLink(defaultTimeEdit_, defaultTimeUpDown, kDefaultTimeScale,
                                      PlainValueOf(kDefaultTimeScale));
    autoLoopCheck_ = MakeCheck("chkAutoLoop", "&Loop after last page", saver);

    auto* mouseMoveLabel = MakeLabel("lblMouseMove", "&What to do if mouse move?", saver);
    const QString options[3] = {"&Nothing", "&Enter navigation mode", Q(QuitOptionCaption())};
    auto* mouseColumn = new QVBoxLayout;
    mouseColumn->addWidget(mouseMoveLabel);
    for (int i = 0; i < 3; ++i) {
        mouseMoveChoice_[i] = new QRadioButton(options[i], saver);
        mouseMoveChoice_[i]->setObjectName(QString("optMouseMove%1").arg(i));
        mouseColumn->addWidget(mouseMoveChoice_[i]);
        connect(mouseMoveChoice_[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (!on) return;
            changed_();
            emit MouseMoveChanged(i);
        });
    }
    mouseMoveLabel->setBuddy(mouseMoveChoice_[0]);
    mouseColumn->addStretch();
    // Side by side on the last row, so the window keeps its size: what a visitor leaves
    // behind, and what a visitor can do at all.
    clearVisitorDataCheck_ =
        MakeCheck("chkClearVisitorData", "Clear &visitor data on return to the show", saver);
    clearVisitorDataCheck_->setToolTip(
        "The browsers start on a fresh profile: cookies, logins, site storage, cache and "
        "history never reach the next visitor");
    lockedCheck_ = MakeCheck("chkLocked", "Loc&ked: no way out for visitors", saver);
    lockedCheck_->setToolTip(
        "No tool bar but navigation over the include list, no quit keys, no configuration "
        "window but through pagelark CONFIG, no local files");

    FitWidthToText(screenSaveTimeOutEdit_, "00:00");
    FitWidthToText(defaultTimeEdit_, "0000");
    saverGrid->addWidget(screenSaveActiveCheck_, 0, 0);
    saverGrid->addWidget(autoLoopCheck_, 0, 1, 1, 3);
    saverGrid->addWidget(screenSaveTimeOutLabel_, 1, 0);
    saverGrid->addWidget(screenSaveTimeOutEdit_, 1, 1);
    saverGrid->addWidget(screenSaveTimeOutUpDown_, 1, 2);
    saverGrid->addWidget(minutesLabel_, 1, 3);
    saverGrid->addWidget(defaultTimeLabel, 2, 0);
    saverGrid->addWidget(defaultTimeEdit_, 2, 1);
    saverGrid->addWidget(defaultTimeUpDown, 2, 2);
    saverGrid->addWidget(MakeLabel("lblDefaultTimeUnit", "seconds", saver), 2, 3);
    saverGrid->addWidget(clearVisitorDataCheck_, 3, 0, 1, 4);
    saverGrid->addLayout(mouseColumn, 0, 4, 3, 1);
    saverGrid->addWidget(lockedCheck_, 3, 4);
    saverGrid->setColumnStretch(4, 1);
    // The focus follows the rows: the loop box sits on the first.
    setTabOrder(screenSaveActiveCheck_, autoLoopCheck_);

    auto* column = new QVBoxLayout(this);
    column->addWidget(home);
    column->addWidget(saver);
    column->addStretch();

    for (QLineEdit* box : {homePageEdit_, screenSaveTimeOutEdit_, defaultTimeEdit_})
        connect(box, &QLineEdit::textChanged, this, [this] { changed_(); });
    for (QCheckBox* check : {autoHomeCheck_, autoLoopCheck_, clearVisitorDataCheck_,
                             onScreenKeyboardCheck_, lockedCheck_})
        connect(check, &QCheckBox::toggled, this, [this] { changed_(); });
    connect(screenSaveActiveCheck_, &QCheckBox::toggled, this, [this] {
        changed_();
        ApplyScreenSaveActive();
    });
    connect(defPageButton, &QPushButton::clicked, this, [this] {
        changed_();
        homePageEdit_->setText(Q(defaultHomePage_));
    });
    connect(curPageButton, &QPushButton::clicked, this, [this] {
        changed_();
        homePageEdit_->setText(Q(events_.CurrentLocation()));
    });
}

void GeneralTab::ApplyScreenSaveActive() {
    const bool on = screenSaveActiveCheck_->isChecked();
    SetEnabled(
        {screenSaveTimeOutLabel_, screenSaveTimeOutEdit_, screenSaveTimeOutUpDown_, minutesLabel_},
        on);
}

bool GeneralTab::eventFilter(QObject* watched, QEvent* event) {
    // A stored delay above an hour stays until the operator types another.
    if (watched == screenSaveTimeOutEdit_ && event->type() == QEvent::FocusOut &&
        screenSaveTimeOutEdit_->isModified()) {
        const QString left = Q(ScreenSaveTimeOutOnLeave(S(screenSaveTimeOutEdit_->text())));
        if (left != screenSaveTimeOutEdit_->text()) screenSaveTimeOutEdit_->setText(left);
    }
    return false;
}

void GeneralTab::Fill(const OptionFields& fields) {
    ShowStored(homePageEdit_, fields.homePage);
    autoHomeCheck_->setChecked(fields.autoHome);
    screenSaveActiveCheck_->setChecked(fields.screenSaveActive);
    ApplyScreenSaveActive();
    timeOutLink_->Fill(Q(fields.screenSaveTimeOut));
    // A stored number that names no option selects none: the group lets go of its choice.
    for (int i = 0; i < 3; ++i) {
        mouseMoveChoice_[i]->setAutoExclusive(false);
        mouseMoveChoice_[i]->setChecked(i == fields.mouseMove);
        mouseMoveChoice_[i]->setAutoExclusive(true);
    }
    emit MouseMoveChanged(MouseMove());
    defaultTimeLink_->Fill(Q(fields.defaultTime));
    autoLoopCheck_->setChecked(fields.autoLoop);
    lockedCheck_->setChecked(fields.locked);
    clearVisitorDataCheck_->setChecked(fields.clearVisitorData);
    onScreenKeyboardCheck_->setChecked(fields.onScreenKeyboard);
}

int GeneralTab::MouseMove() const {
    for (int i = 0; i < 3; ++i) {
        if (mouseMoveChoice_[i]->isChecked()) return i;
    }
    return -1;
}

void GeneralTab::Keep(OptionFields& fields) const {
    fields.homePage = StoredText(homePageEdit_);
    fields.autoHome = autoHomeCheck_->isChecked();
    fields.screenSaveActive = screenSaveActiveCheck_->isChecked();
    fields.screenSaveTimeOut = S(screenSaveTimeOutEdit_->text());
    fields.mouseMove = MouseMove();
    fields.defaultTime = S(defaultTimeEdit_->text());
    fields.autoLoop = autoLoopCheck_->isChecked();
    fields.locked = lockedCheck_->isChecked();
    fields.clearVisitorData = clearVisitorDataCheck_->isChecked();
    fields.onScreenKeyboard = onScreenKeyboardCheck_->isChecked();
}

}  // namespace pagelark
