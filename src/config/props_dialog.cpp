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
#include "document/file_commands.h"
#include "document/toolbar_buttons.h"

namespace pagelark {
namespace {

void SetVisible(std::initializer_list<QWidget*> widgets, bool visible) {
    for (QWidget* w : widgets)
        w->setVisible(visible);
}

}  // namespace

PropsDialog::PropsDialog(PropsMode mode, WorkingLists& lists, int index, PropsContext context,
                         QWidget* parent)
    : QDialog(parent), mode_(mode), lists_(lists), index_(index), c_(std::move(context)) {
    setObjectName("frmProps");
    setWindowTitle("Properties");
    auto* frame = MakeFrame("frmFrame", Q(PropsCaption(mode, lists, index)), this);
    auto* lblURL = MakeLabel("lblURL", "&Address :", frame);
    txtURL_ = MakeBox("txtURL", 1024, frame);
    auto* cmdBrowseFile = MakeButton("cmdBrowseFile", "&Browse file...", frame);
    auto* lblTime = MakeLabel("lblTime", "&Time :", frame);
    txtTime_ = MakeBox("txtTime", 3, frame);
    txtTime_->setFixedWidth(txtTime_->fontMetrics().horizontalAdvance("0000") + 12);
    auto* updTime = MakeUpDown("updTime", kPageTimeScale, frame);
    auto* timeLink =
        new UpDownLink(txtTime_, updTime, kPageTimeScale, PlainValueOf(kPageTimeScale));
    chkDefaultTime_ = MakeCheck("chkDefaultTime", "&Use default time", frame);
    auto* lblFileName = MakeLabel("lblFileName", "&Picture file:", frame);
    txtFileName_ = MakeBox("txtFileName", 1024, frame);
    auto* cmdBrowse = MakeButton("cmdBrowse", "&Browse...", frame);
    auto* lblHelpTip = MakeLabel("lblHelpTip", "&Help Tip:", frame);
    txtHelpTip_ = MakeBox("txtHelpTip", 1024, frame);
    chkVisible_ = MakeCheck("chkVisible", "&Visible", frame);
    lblURL->setBuddy(txtURL_);
    lblTime->setBuddy(txtTime_);
    lblFileName->setBuddy(txtFileName_);
    lblHelpTip->setBuddy(txtHelpTip_);
    auto* cmdOK = MakeButton("cmdOK", "OK", this);
    auto* cmdCancel = MakeButton("cmdCancel", "Cancel", this);
    cmdOK->setDefault(true);

    auto* time = new QHBoxLayout;
    time->addWidget(txtTime_);
    time->addWidget(updTime);
    time->addWidget(chkDefaultTime_);
    time->addStretch();
    auto* grid = new QGridLayout(frame);
    grid->addWidget(lblURL, 0, 0);
    grid->addWidget(txtURL_, 0, 1);
    grid->addWidget(cmdBrowseFile, 0, 2);
    grid->addWidget(lblTime, 1, 0);
    grid->addLayout(time, 1, 1, 1, 2);
    grid->addWidget(chkVisible_, 2, 0, 1, 3);
    grid->addWidget(lblFileName, 3, 0);
    grid->addWidget(txtFileName_, 3, 1);
    grid->addWidget(cmdBrowse, 3, 2);
    grid->addWidget(lblHelpTip, 4, 0);
    grid->addWidget(txtHelpTip_, 4, 1, 1, 2);
    grid->setColumnMinimumWidth(1, 280);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* column = new QVBoxLayout(this);
    column->addWidget(frame);
    column->addLayout(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);

    const PropsVisibility visible = VisibleControls(mode);
    SetVisible({lblURL, txtURL_, cmdBrowseFile}, visible.address);
    SetVisible({chkDefaultTime_, lblTime, txtTime_, updTime}, visible.time);
    SetVisible({chkVisible_}, visible.visible);
    SetVisible({lblFileName, txtFileName_, cmdBrowse, lblHelpTip, txtHelpTip_}, visible.picture);

    connect(chkDefaultTime_, &QCheckBox::toggled, this, [=, this](bool useDefault) {
        SetEnabled({lblTime, txtTime_, updTime}, !useDefault);
    });
    connect(chkVisible_, &QCheckBox::toggled, this, [=, this](bool on) {
        SetEnabled({lblFileName, txtFileName_, cmdBrowse, lblHelpTip, txtHelpTip_}, on);
    });

    const PropsFields fields = FillProps(mode, lists, index);
    txtURL_->setText(Q(fields.url));
    chkDefaultTime_->setChecked(fields.useDefaultTime);
    timeLink->Fill(Q(fields.time));
    chkVisible_->setChecked(fields.visible);
    txtFileName_->setText(Q(fields.fileName));
    txtHelpTip_->setText(Q(fields.helpTip));
    // The rules hold from the start, whether or not the fill changed the boxes.
    SetEnabled({lblTime, txtTime_, updTime}, !fields.useDefaultTime);
    SetEnabled({lblFileName, txtFileName_, cmdBrowse, lblHelpTip, txtHelpTip_}, fields.visible);

    connect(cmdBrowse, &QPushButton::clicked, this, [this] {
        const std::string chosen = Browse(kPictureFilter, "Load Picture");
        if (!chosen.empty()) txtFileName_->setText(Q(StoredIconPath(chosen, c_.startupFolder)));
    });
    connect(cmdBrowseFile, &QPushButton::clicked, this, [this] {
        const std::string chosen = Browse(kPageFileFilter, "Load File");
        if (!chosen.empty()) txtURL_->setText(Q(chosen));
    });
    connect(cmdOK, &QPushButton::clicked, this, &PropsDialog::Ok);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::string PropsDialog::Browse(const FileFilter& filter, const char* title) {
    return c_.dialogs.OpenFileDialog("", "", filter, title);
}

void PropsDialog::Ok() {
    PropsFields fields;
    fields.url = S(txtURL_->text());
    fields.useDefaultTime = chkDefaultTime_->isChecked();
    fields.time = S(txtTime_->text());
    fields.visible = chkVisible_->isChecked();
    fields.fileName = S(txtFileName_->text());
    fields.helpTip = S(txtHelpTip_->text());
    if (const std::string problem = CheckProps(mode_, fields); !problem.empty()) {
        c_.dialogs.ShowError(problem);
        return;
    }
    c_.changed();
    KeepProps(mode_, fields, lists_, index_);
    accept();
}

}  // namespace pagelark
