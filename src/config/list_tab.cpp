#include "config/list_tab.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/controls.h"
#include "core/ports/config_events.h"
#include "editor/list_editing.h"

namespace pagelark {
namespace {

struct TabNames {
    const char* frame;
    const char* caption;
    const char* list;
    const char* prefix;  // of the buttons' names
};

TabNames NamesOf(ListTab::Kind kind) {
    switch (kind) {
        case ListTab::Kind::Pages:
            return {"frmPages", "Page &list:", "lstPageList", "cmdList"};
        case ListTab::Kind::Include:
            return {"frmInclude", "I&nclude these addresses:", "lstInclude", "cmdInc"};
        case ListTab::Kind::Exclude:
            break;
    }
    return {"frmExclude", "&Exclude these addresses:", "lstExclude", "cmdExc"};
}

std::string& Address(PresentationPage& page) {
    return page.URL;
}
std::string& Address(std::string& address) {
    return address;
}

}  // namespace

ListTab::ListTab(Kind kind, WorkingLists& lists, Hooks hooks, ConfigEvents& events, QWidget* parent)
    : QWidget(parent), kind_(kind), lists_(lists), hooks_(std::move(hooks)), events_(events) {
    const TabNames names = NamesOf(kind);
    auto* frame = MakeFrame(names.frame, names.caption, this);
    list_ = new QListWidget(frame);
    list_->setObjectName(names.list);
    auto* buttons = new QVBoxLayout;
    const auto button = [&](const char* action, const char* caption, const char* tip) {
        auto* b = MakeButton((std::string(names.prefix) + action).c_str(), caption, frame, tip);
        buttons->addWidget(b);
        return b;
    };
    connect(
        button("Insert", "&Insert", "A new entry before the selected one, its properties opened"),
        &QPushButton::clicked, this, &ListTab::Insert);
    connect(button("Delete", "&Delete", "Removes the selected entry"), &QPushButton::clicked, this,
            &ListTab::Delete);
    if (kind == Kind::Pages) {
        up_ = button("Up", "&Up", "Moves the selected page one place earlier");
        down_ = button("Down", "&Down", "Moves the selected page one place later");
        connect(up_, &QPushButton::clicked, this, [this] { Move(true); });
        connect(down_, &QPushButton::clicked, this, [this] { Move(false); });
        connect(list_, &QListWidget::currentRowChanged, this, &ListTab::SelectionChanged);
    }
    connect(button("Grab", "&Grab", "A new entry with the address of the page on show"),
            &QPushButton::clicked, this, &ListTab::Grab);
    connect(button("View", "&View", "Shows the selected address on the screen behind"),
            &QPushButton::clicked, this, &ListTab::View);
    props_ = button("Props", "&Properties", "Edits the selected entry");
    connect(props_, &QPushButton::clicked, this, &ListTab::Props);
    buttons->addStretch();
    PressOnDoubleClick(list_, props_);

    auto* row = new QHBoxLayout(frame);
    row->addWidget(list_, 1);
    row->addLayout(buttons);
    auto* column = new QVBoxLayout(this);
    column->addWidget(frame);
}

int ListTab::Current() const {
    return list_->currentRow() + 1;
}

int ListTab::Count() const {
    switch (kind_) {
        case Kind::Pages:
            return static_cast<int>(lists_.pages.size());
        case Kind::Include:
            return static_cast<int>(lists_.include.size());
        case Kind::Exclude:
            break;
    }
    return static_cast<int>(lists_.exclude.size());
}

std::string ListTab::AddressOf(int entry) const {
    const auto index = static_cast<std::size_t>(entry - 1);
    switch (kind_) {
        case Kind::Pages:
            return Address(lists_.pages[index]);
        case Kind::Include:
            return Address(lists_.include[index]);
        case Kind::Exclude:
            break;
    }
    return Address(lists_.exclude[index]);
}

// Runs f on this tab's working list, with the entry Insert puts there.
template <class F>
int ListTab::WithList(F f) {
    switch (kind_) {
        case Kind::Pages:
            return f(lists_.pages, NewPage(hooks_.defaultTime()));
        case Kind::Include:
            return f(lists_.include, std::string());
        case Kind::Exclude:
            break;
    }
    return f(lists_.exclude, std::string());
}

void ListTab::Fill(int selectLine) {
    Show(selectLine);
}

// The list box mirrors the working list after every operation.
void ListTab::Show(int line) {
    const QSignalBlocker quiet(list_);
    list_->clear();
    for (int entry = 1; entry <= Count(); ++entry)
        list_->addItem(Q(AddressOf(entry)));
    list_->setCurrentRow(line);
    SelectionChanged();
}

void ListTab::SelectionChanged() {
    if (up_ == nullptr) return;
    const UpDownEnabled enabled = PageMoveButtons(list_->count(), Current());
    up_->setEnabled(enabled.up);
    down_->setEnabled(enabled.down);
}

void ListTab::Insert() {
    const int cur = Current();
    const auto insert = [cur](auto& list, auto fresh) { return ListInsert(list, cur, fresh); };
    Show(WithList(insert));
    hooks_.changed();
    // The new entry wants an address at once.
    props_->setFocus();
    props_->click();
}

void ListTab::Delete() {
    const int cur = Current();
    if (cur >= 1) {
        const auto remove = [cur](auto& list, auto) { return ListDelete(list, cur); };
        Show(WithList(remove));
    }
    hooks_.changed();
}

void ListTab::Move(bool up) {
    const int cur = Current();
    if (cur >= 1) Show(up ? ListUp(lists_.pages, cur) : ListDown(lists_.pages, cur));
    hooks_.changed();
}

void ListTab::Grab() {
    const int cur = Current();
    const auto insert = [cur](auto& list, auto fresh) { return ListInsert(list, cur, fresh); };
    const int line = WithList(insert);
    Show(line);
    if (line >= 0) {
        const std::string location = events_.CurrentLocation();
        const auto set = [line, &location](auto& list, auto) {
            Address(list[static_cast<std::size_t>(line)]) = location;
            return 0;
        };
        WithList(set);
        Show(line);
    }
    hooks_.changed();
}

void ListTab::View() {
    const int cur = Current();
    if (cur > 0) events_.ShowInStage(AddressOf(cur));
}

void ListTab::Props() {
    const int cur = Current();
    if (cur < 1) return;
    const PropsMode mode = kind_ == Kind::Pages     ? PropsMode::Page
                           : kind_ == Kind::Include ? PropsMode::Include
                                                    : PropsMode::Exclude;
    hooks_.openProps(mode, cur);
    Show(cur - 1);
}

}  // namespace pagelark
