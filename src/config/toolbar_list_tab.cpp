#include "config/toolbar_list_tab.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/controls.h"

namespace pagelark {

ToolbarListTab::ToolbarListTab(Bar bar, WorkingLists& lists, std::string startupFolder,
                               std::function<void(PropsMode, int)> openProps, QWidget* parent)
    : QWidget(parent),
      bar_(bar),
      lists_(lists),
      startupFolder_(std::move(startupFolder)),
      openProps_(std::move(openProps)) {
    const bool run = bar == Bar::Run;
    auto* frame = MakeFrame(run ? "frmToolRun" : "frmToolNav",
                            run ? "Screen Saver Tool Bar" : "Navigation Tool Bar", this);
    list_ = new QListWidget(frame);
    list_->setObjectName(run ? "lstToolRun" : "lstToolNav");
    props_ = MakeButton(run ? "cmdToolRunProps" : "cmdToolNavProps", "&Properties", frame,
                        "Edits the selected button: its picture, its tip and whether it is shown");
    connect(props_, &QPushButton::clicked, this, &ToolbarListTab::Props);
    PressOnDoubleClick(list_, props_);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(props_);
    buttons->addStretch();
    auto* row = new QHBoxLayout;
    row->addWidget(list_, 1);
    row->addLayout(buttons);
    auto* inFrame = new QVBoxLayout(frame);
    inFrame->addLayout(row);
    if (run) {
        note_ = MakeLabel("lblToolRun", QString(), frame);
        note_->setWordWrap(true);
        inFrame->addWidget(note_);
    }
    auto* column = new QVBoxLayout(this);
    column->addWidget(frame);
}

int ToolbarListTab::ButtonCount() const {
    return static_cast<int>(bar_ == Bar::Run ? lists_.buttons.ToolRunButtons.size()
                                             : lists_.buttons.ToolNavButtons.size());
}

QString ToolbarListTab::LineText(int line) const {
    const auto index = static_cast<std::size_t>(line);
    if (bar_ == Bar::Run) return Q(lists_.buttons.ToolRunButtons[index].HelpTip);
    if (line < ButtonCount()) return Q(lists_.buttons.ToolNavButtons[index].HelpTip);
    return "URL";
}

void ToolbarListTab::ShowLine(int line) {
    QListWidgetItem* item = list_->item(line);
    item->setText(LineText(line));
    if (line >= ButtonCount()) {
        // The address box has no picture: its text lines up with the buttons' all the same.
        QPixmap none(list_->item(0)->icon().actualSize(QSize(64, 64)));
        none.fill(Qt::transparent);
        item->setIcon(QIcon(none));
        return;
    }
    const auto index = static_cast<std::size_t>(line);
    const ToolbarButton& button = bar_ == Bar::Run ? lists_.buttons.ToolRunButtons[index]
                                                   : lists_.buttons.ToolNavButtons[index];
    // The button's own picture file, else the bar's default one (the tool bars' resources).
    QPixmap picture;
    if (button.Icon.empty() ||
        !picture.load(QString::fromStdString(ResolveIconPath(button.Icon, startupFolder_))))
        picture.load(
            QString(":/toolbars/%1/%2").arg(bar_ == Bar::Run ? "ToolRun" : "ToolNav").arg(line));
    item->setIcon(QIcon(picture));
}

void ToolbarListTab::Fill() {
    list_->clear();
    const int lines = ButtonCount() + (bar_ == Bar::Nav ? 1 : 0);
    for (int line = 0; line < lines; ++line) {
        list_->addItem(QString());
        ShowLine(line);
    }
    if (ButtonCount() > 1) list_->setCurrentRow(0);
}

void ToolbarListTab::SetNote(const std::string& note) {
    if (note_ != nullptr) note_->setText(Q(note));
}

void ToolbarListTab::Props() {
    const int line = list_->currentRow();
    if (bar_ == Bar::Nav && line >= list_->count() - 1) {
        openProps_(PropsMode::UrlBox, 0);
        return;
    }
    if (line < 0) return;
    openProps_(bar_ == Bar::Run ? PropsMode::ToolRun : PropsMode::ToolNav, line);
    ShowLine(line);
    list_->setCurrentRow(line);
}

}  // namespace pagelark
