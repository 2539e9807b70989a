#include "config/schedule_tab.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
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
        "properties); the kiosk looks again every minute. A web address or a file: an address "
        "of another kind (javascript:, mailto:) cannot be shown");
    idlePageLabel->setBuddy(idlePageEdit_);
    auto* offlinePageLabel =
        MakeLabel("lblOfflinePage", "Page while the show is &unreachable :", pages);
    offlinePageEdit_ = MakeBox("txtOfflinePage", 1024, pages);
    offlinePageEdit_->setPlaceholderText("a page saying the show will be back");
    offlinePageEdit_->setToolTip(
        "Shown while no page of the show can be loaded (the network or its server is down); "
        "the pages are tried behind it, at most a minute apart, and the first that loads "
        "brings the show back. A web address or a file");
    offlinePageLabel->setBuddy(offlinePageEdit_);
    clockAlignedCheck_ = MakeCheck(
        "chkClockAligned", "Pages change with the c&lock: screens side by side in step", pages);
    clockAlignedCheck_->setToolTip(
        "The page on show follows the time of day, so kiosks with synchronised clocks show the "
        "same page, also after a restart");
    auto* pagesGrid = new QGridLayout(pages);
    pagesGrid->addWidget(idlePageLabel, 0, 0);
    pagesGrid->addWidget(idlePageEdit_, 0, 1);
    pagesGrid->addWidget(offlinePageLabel, 1, 0);
    pagesGrid->addWidget(offlinePageEdit_, 1, 1);
    pagesGrid->addWidget(clockAlignedCheck_, 2, 0, 1, 2);
    playLogCheck_ = MakeCheck("chkPlayLog", "Keep a &record of each page shown", pages);
    playLogCheck_->setToolTip(
        "A line for each page shown (when, for how long, loaded or failed) in "
        "~/.local/state/pagelark/playlog.jsonl; pagelark-tso playlog sums it up");
    pagesGrid->addWidget(playLogCheck_, 4, 0, 1, 2);
    auto* zoomLabel = MakeLabel("lblZoom", "Page &zoom :", pages);
    zoomEdit_ = MakeBox("txtZoom", 3, pages);
    zoomEdit_->setToolTip(
        "The size pages are laid out at, 25 to 500 percent; a page's properties may give its own");
    FitWidthToText(zoomEdit_, "0000");
    auto* zoomUpDown = MakeUpDown("updZoom", kZoomScale, pages);
    zoomLink_ = new UpDownLink(zoomEdit_, zoomUpDown, kZoomScale, PlainValueOf(kZoomScale));
    zoomLabel->setBuddy(zoomEdit_);
    auto* zoom = new QHBoxLayout;
    zoom->addWidget(zoomEdit_);
    zoom->addWidget(zoomUpDown);
    zoom->addWidget(MakeLabel("lblZoomUnit", "%", pages));
    zoom->addStretch();
    pagesGrid->addWidget(zoomLabel, 3, 0);
    pagesGrid->addLayout(zoom, 3, 1);

    auto* screen = MakeFrame("frmScreenTimes", "Screen", this);
    auto* screenGrid = new QGridLayout(screen);
    screenHours_ = AddDayHoursBoxes(
        screenGrid, 0, 1,
        {{"ScreenDays", "ScreenOn", "ScreenOff"},
         {"Screen on &days :", "On &at :", "O&ff at :"},
         "Mon-Fri, Sat,Sun or Mon-Wed,Fri: the days the screen is on",
         "HH:MM, local time; equal times keep the screen on all day, an off time before the on "
         "time runs past midnight"},
        screen);
    auto* note = MakeLabel("lblScreenNote",
                           "Outside these hours the display sleeps and no page loads; a touch or "
                           "key wakes it for a while.",
                           screen);
    note->setWordWrap(true);
    screenCecCheck_ = MakeCheck("chkScreenCec", "&Television standby over HDMI-CEC", screen);
    screenCecCheck_->setToolTip(
        "A television on HDMI is sent to standby with the display and "
        "woken at the on time, where the computer can (cec-ctl)");
    screenGrid->addWidget(note, 2, 0, 1, 2);
    screenGrid->addWidget(screenCecCheck_, 3, 0, 1, 2);

    auto* column = new QVBoxLayout(this);
    column->addWidget(pages);
    column->addWidget(screen);
    column->addStretch();

    connect(zoomEdit_, &QLineEdit::textChanged, this, [this] { changed_(); });
    for (QLineEdit* box :
         {idlePageEdit_, offlinePageEdit_, screenHours_.days, screenHours_.from, screenHours_.to})
        connect(box, &QLineEdit::textChanged, this, [this] { changed_(); });
    for (QCheckBox* check : {clockAlignedCheck_, screenCecCheck_, playLogCheck_})
        connect(check, &QCheckBox::toggled, this, [this] { changed_(); });
}

void ScheduleTab::Fill(const OptionFields& fields) {
    ShowStored(idlePageEdit_, fields.idlePage);
    ShowStored(offlinePageEdit_, fields.offlinePage);
    clockAlignedCheck_->setChecked(fields.clockAligned);
    ShowStored(screenHours_.days, fields.screenDays);
    ShowStored(screenHours_.from, fields.screenOn);
    ShowStored(screenHours_.to, fields.screenOff);
    screenCecCheck_->setChecked(fields.screenCec);
    playLogCheck_->setChecked(fields.playLog);
    zoomLink_->Fill(Q(fields.zoom));
}

void ScheduleTab::Keep(OptionFields& fields) const {
    fields.idlePage = StoredText(idlePageEdit_);
    fields.offlinePage = StoredText(offlinePageEdit_);
    fields.clockAligned = clockAlignedCheck_->isChecked();
    fields.zoom = S(zoomEdit_->text());
    fields.screenDays = StoredText(screenHours_.days);
    fields.screenOn = StoredText(screenHours_.from);
    fields.screenOff = StoredText(screenHours_.to);
    fields.screenCec = screenCecCheck_->isChecked();
    fields.playLog = playLogCheck_->isChecked();
}

}  // namespace pagelark
