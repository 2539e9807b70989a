#include "config/props_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "config/controls.h"
#include "editor/file_commands.h"
#include "model/toolbar_buttons.h"

namespace pagelark {
namespace {

void SetVisible(std::initializer_list<QWidget*> widgets, bool visible) {
    for (QWidget* w : widgets)
        w->setVisible(visible);
}

}  // namespace

PropsDialog::PropsDialog(PropsMode mode, WorkingLists& lists, int index, PropsContext context,
                         QWidget* parent)
    : QDialog(parent), mode_(mode), lists_(lists), index_(index), context_(std::move(context)) {
    setObjectName("frmProps");
    setWindowTitle("Properties");
    auto* frame = MakeFrame("frmFrame", Q(PropsCaption(mode, lists, index)), this);
    auto* urlLabel = MakeLabel("lblURL", "&Address :", frame);
    urlEdit_ = MakeBox("txtURL", 1024, frame);
    auto* browseFileButton = MakeButton("cmdBrowseFile", "&Browse file...", frame,
                                        "Chooses a page file on this computer");
    auto* timeLabel = MakeLabel("lblTime", "&Time :", frame);
    timeEdit_ = MakeBox("txtTime", 3, frame);
    FitWidthToText(timeEdit_, "0000");
    auto* timeUpDown = MakeUpDown("updTime", kPageTimeScale, frame);
    auto* timeLink =
        new UpDownLink(timeEdit_, timeUpDown, kPageTimeScale, PlainValueOf(kPageTimeScale));
    defaultTimeCheck_ = MakeCheck("chkDefaultTime", "&Use default time", frame);
    auto* fileNameLabel = MakeLabel("lblFileName", "&Picture file:", frame);
    fileNameEdit_ = MakeBox("txtFileName", 1024, frame);
    auto* browseButton =
        MakeButton("cmdBrowse", "&Browse...", frame, "Chooses the button's picture file");
    auto* helpTipLabel = MakeLabel("lblHelpTip", "&Help Tip:", frame);
    helpTipEdit_ = MakeBox("txtHelpTip", 1024, frame);
    visibleCheck_ = MakeCheck("chkVisible", "&Visible", frame);
    urlLabel->setBuddy(urlEdit_);
    timeLabel->setBuddy(timeEdit_);
    fileNameLabel->setBuddy(fileNameEdit_);
    helpTipLabel->setBuddy(helpTipEdit_);
    auto* okButton = MakeButton("cmdOK", "OK", this, "Keeps these properties");
    auto* cancelButton = MakeButton("cmdCancel", "Cancel", this, "Drops the changes made here");
    okButton->setDefault(true);

    auto* time = new QHBoxLayout;
    time->addWidget(timeEdit_);
    time->addWidget(timeUpDown);
    time->addWidget(defaultTimeCheck_);
    time->addStretch();
    auto* grid = new QGridLayout(frame);
    grid->addWidget(urlLabel, 0, 0);
    grid->addWidget(urlEdit_, 0, 1);
    grid->addWidget(browseFileButton, 0, 2);
    grid->addWidget(timeLabel, 1, 0);
    grid->addLayout(time, 1, 1, 1, 2);
    // When the page is due; empty boxes: every day, all day.
    schedule_ = AddDayHoursBoxes(
        grid, 2, 2,
        {{"Days", "From", "To"},
         {"&Days :", "&From :", "T&o :"},
         "Mon-Fri, Sat,Sun or Mon-Wed,Fri: the days the page plays",
         "HH:MM, local time; To is left out, equal times are the whole day and a To before From "
         "runs past midnight"},
        frame);
    // Made after the buttons, and typed in after the time.
    setTabOrder(defaultTimeCheck_, schedule_.days);
    setTabOrder(schedule_.days, schedule_.from);
    setTabOrder(schedule_.from, schedule_.to);
    // A long page moving on show.
    auto* scrollLabel = MakeLabel("lblScroll", "&Scroll :", frame);
    scrollEdit_ = MakeBox("txtScroll", 255, frame);
    scrollLabel->setBuddy(scrollEdit_);
    scrollEdit_->setPlaceholderText("No");
    scrollEdit_->setToolTip(
        "No, Yes (reaches the page's foot as its time ends) or a speed in pixels a second");
    FitWidthToText(scrollEdit_, "00000");
    grid->addWidget(scrollLabel, 7, 0);
    grid->addWidget(scrollEdit_, 7, 1, Qt::AlignLeft);
    setTabOrder(schedule_.to, scrollEdit_);
    // The size the page is laid out at; empty: the presentation's.
    auto* zoomLabel = MakeLabel("lblZoom", "&Zoom :", frame);
    zoomEdit_ = MakeBox("txtZoom", 3, frame);
    zoomEdit_->setPlaceholderText("default");
    zoomEdit_->setToolTip("25 to 500 percent; empty: the presentation's page zoom");
    FitWidthToText(zoomEdit_, "default");
    zoomLabel->setBuddy(zoomEdit_);
    auto* zoomUnit = MakeLabel("lblZoomUnit", "%", frame);
    auto* zoom = new QHBoxLayout;
    zoom->addWidget(zoomEdit_);
    zoom->addWidget(zoomUnit);
    zoom->addStretch();
    grid->addWidget(zoomLabel, 8, 0);
    grid->addLayout(zoom, 8, 1, 1, 2);
    setTabOrder(scrollEdit_, zoomEdit_);
    grid->addWidget(visibleCheck_, 4, 0, 1, 3);
    grid->addWidget(fileNameLabel, 5, 0);
    grid->addWidget(fileNameEdit_, 5, 1);
    grid->addWidget(browseButton, 5, 2);
    grid->addWidget(helpTipLabel, 6, 0);
    grid->addWidget(helpTipEdit_, 6, 1, 1, 2);
    grid->setColumnMinimumWidth(1, 280);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto* column = new QVBoxLayout(this);
    column->addWidget(frame);
    column->addLayout(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);

    const PropsVisibility visible = VisibleControls(mode);
    SetVisible({urlLabel, urlEdit_, browseFileButton}, visible.address);
    SetVisible({defaultTimeCheck_, timeLabel, timeEdit_, timeUpDown}, visible.time);
    SetVisible({visibleCheck_}, visible.visible);
    for (QWidget* widget : schedule_.all)
        widget->setVisible(visible.schedule);
    SetVisible({fileNameLabel, fileNameEdit_, browseButton, helpTipLabel, helpTipEdit_},
               visible.picture);
    SetVisible({scrollLabel, scrollEdit_}, visible.scroll);
    SetVisible({zoomLabel, zoomEdit_, zoomUnit}, visible.zoom);

    connect(defaultTimeCheck_, &QCheckBox::toggled, this, [=, this](bool useDefault) {
        SetEnabled({timeLabel, timeEdit_, timeUpDown}, !useDefault);
    });
    connect(visibleCheck_, &QCheckBox::toggled, this, [=, this](bool on) {
        SetEnabled({fileNameLabel, fileNameEdit_, browseButton, helpTipLabel, helpTipEdit_}, on);
    });

    const PropsFields fields = FillProps(mode, lists, index);
    ShowStored(urlEdit_, fields.url);
    defaultTimeCheck_->setChecked(fields.useDefaultTime);
    timeLink->Fill(Q(fields.time));
    visibleCheck_->setChecked(fields.visible);
    ShowStored(fileNameEdit_, fields.fileName);
    ShowStored(helpTipEdit_, fields.helpTip);
    ShowStored(schedule_.days, fields.days);
    ShowStored(schedule_.from, fields.from);
    ShowStored(schedule_.to, fields.to);
    ShowStored(scrollEdit_, fields.scroll);
    ShowStored(zoomEdit_, fields.zoom);
    // The rules hold from the start, whether or not the fill changed the boxes.
    SetEnabled({timeLabel, timeEdit_, timeUpDown}, !fields.useDefaultTime);
    SetEnabled({fileNameLabel, fileNameEdit_, browseButton, helpTipLabel, helpTipEdit_},
               fields.visible);

    connect(browseButton, &QPushButton::clicked, this, [this] {
        const std::string chosen = Browse(kPictureFilter, "Load Picture");
        if (!chosen.empty())
            fileNameEdit_->setText(Q(StoredIconPath(chosen, context_.startupFolder)));
    });
    connect(browseFileButton, &QPushButton::clicked, this, [this] {
        const std::string chosen = Browse(kPageFileFilter, "Load File");
        if (!chosen.empty()) urlEdit_->setText(Q(chosen));
    });
    connect(okButton, &QPushButton::clicked, this, &PropsDialog::Ok);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

std::string PropsDialog::Browse(const FileFilter& filter, const char* title) {
    return context_.dialogs.OpenFileDialog("", "", filter, title);
}

void PropsDialog::Ok() {
    PropsFields fields;
    fields.url = StoredText(urlEdit_);
    fields.useDefaultTime = defaultTimeCheck_->isChecked();
    fields.time = S(timeEdit_->text());
    fields.visible = visibleCheck_->isChecked();
    fields.fileName = StoredText(fileNameEdit_);
    fields.helpTip = StoredText(helpTipEdit_);
    fields.days = StoredText(schedule_.days);
    fields.from = StoredText(schedule_.from);
    fields.to = StoredText(schedule_.to);
    fields.scroll = StoredText(scrollEdit_);
    fields.zoom = StoredText(zoomEdit_);
    if (const Result<> kept = CheckProps(mode_, fields); !kept) {
        context_.dialogs.ShowError(kept.Error());
        return;
    }
    context_.changed();
    KeepProps(mode_, fields, lists_, index_);
    accept();
}

}  // namespace pagelark
