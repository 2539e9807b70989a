#include "config/schedule_tab.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "config/controls.h"

namespace pagelark {

ScheduleTab::ScheduleTab(std::function<void()> changed, QWidget* parent)
    : QWidget(parent), changed_(std::move(changed)) {
    auto* pages = MakeFrame("frmPageTimes", "Pages", this);
    auto* idlePageLabel = MakeLabel("lblIdlePage", "Page while &none is due :", pages);
    idlePageEdit_ = MakeBox("txtIdlePage", 1024, pages);
    idlePageEdit_->setPlaceholderText("a black page");
    idlePageEdit_->setToolTip(
        "Shown while no page is in its Days and hours (set in each page's "
        "properties); the kiosk looks again every minute");
    idlePageLabel->setBuddy(idlePageEdit_);
    clockAlignedCheck_ = MakeCheck(
        "chkClockAligned", "Pages change with the c&lock: screens side by side in step", pages);
    clockAlignedCheck_->setToolTip(
        "The page on show follows the time of day, so kiosks with synchronised clocks show the "
        "same page, also after a restart");
    auto* pagesGrid = new QGridLayout(pages);
    pagesGrid->addWidget(idlePageLabel, 0, 0);
    pagesGrid->addWidget(idlePageEdit_, 0, 1);
    pagesGrid->addWidget(clockAlignedCheck_, 1, 0, 1, 2);

    auto* screen = MakeFrame("frmScreenTimes", "Screen", this);
    auto* daysLabel = MakeLabel("lblScreenDays", "Screen on &days :", screen);
    screenDaysEdit_ = MakeBox("txtScreenDays", 255, screen);
    screenDaysEdit_->setPlaceholderText("every day");
    screenDaysEdit_->setToolTip("Mon-Fri, Sat,Sun or Mon-Wed,Fri: the days the screen is on");
    auto* onLabel = MakeLabel("lblScreenOn", "On &at :", screen);
    screenOnEdit_ = MakeBox("txtScreenOn", 5, screen);
    auto* offLabel = MakeLabel("lblScreenOff", "O&ff at :", screen);
    screenOffEdit_ = MakeBox("txtScreenOff", 5, screen);
    for (QLineEdit* box : {screenOnEdit_, screenOffEdit_}) {
        box->setPlaceholderText("00:00");
        box->setToolTip(
            "HH:MM, local time; equal times keep the screen on all day, an off time "
            "before the on time runs past midnight");
        FitWidthToText(box, "00:000");
    }
    daysLabel->setBuddy(screenDaysEdit_);
    onLabel->setBuddy(screenOnEdit_);
    offLabel->setBuddy(screenOffEdit_);
    auto* note = MakeLabel("lblScreenNote",
                           "Outside these hours the display sleeps and no page loads; a touch or "
                           "key wakes it for a while.",
                           screen);
    note->setWordWrap(true);
    screenCecCheck_ = MakeCheck("chkScreenCec", "&Television standby over HDMI-CEC", screen);
    screenCecCheck_->setToolTip(
        "A television on HDMI is sent to standby with the display and "
        "woken at the on time, where the computer can (cec-ctl)");
    auto* hours = new QHBoxLayout;
    hours->addWidget(screenOnEdit_);
    hours->addWidget(offLabel);
    hours->addWidget(screenOffEdit_);
    hours->addStretch();
    auto* screenGrid = new QGridLayout(screen);
    screenGrid->addWidget(daysLabel, 0, 0);
    screenGrid->addWidget(screenDaysEdit_, 0, 1);
    screenGrid->addWidget(onLabel, 1, 0);
    screenGrid->addLayout(hours, 1, 1);
    screenGrid->addWidget(note, 2, 0, 1, 2);
    screenGrid->addWidget(screenCecCheck_, 3, 0, 1, 2);

    auto* column = new QVBoxLayout(this);
    column->addWidget(pages);
    column->addWidget(screen);
    column->addStretch();

    for (QLineEdit* box : {idlePageEdit_, screenDaysEdit_, screenOnEdit_, screenOffEdit_})
        connect(box, &QLineEdit::textChanged, this, [this] { changed_(); });
    for (QCheckBox* check : {clockAlignedCheck_, screenCecCheck_})
        connect(check, &QCheckBox::toggled, this, [this] { changed_(); });
}

void ScheduleTab::Fill(const OptionFields& fields) {
    ShowStored(idlePageEdit_, fields.idlePage);
    clockAlignedCheck_->setChecked(fields.clockAligned);
    ShowStored(screenDaysEdit_, fields.screenDays);
    ShowStored(screenOnEdit_, fields.screenOn);
    ShowStored(screenOffEdit_, fields.screenOff);
    screenCecCheck_->setChecked(fields.screenCec);
}

void ScheduleTab::Keep(OptionFields& fields) const {
    fields.idlePage = StoredText(idlePageEdit_);
    fields.clockAligned = clockAlignedCheck_->isChecked();
    fields.screenDays = StoredText(screenDaysEdit_);
    fields.screenOn = StoredText(screenOnEdit_);
    fields.screenOff = StoredText(screenOffEdit_);
    fields.screenCec = screenCecCheck_->isChecked();
}

}  // namespace pagelark
