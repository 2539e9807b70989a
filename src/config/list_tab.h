#pragma once
// The "&Pages", "&Include" and "&Exclude" tabs: a list of addresses edited on the window's
// working copy with Insert, Delete, Grab, View and Properties; the page list also has Up and
// Down.

#include <QWidget>
#include <chrono>
#include <functional>

#include "editor/option_fields.h"
#include "editor/props_rules.h"

class QListWidget;
class QPushButton;

namespace pagelark {

class ConfigEvents;

class ListTab final : public QWidget {
    Q_OBJECT
  public:
    enum class Kind { Pages, Include, Exclude };
    struct Hooks {
        std::function<void()> changed;
        // Shows the properties dialog on an entry of the working list, modal.
        std::function<void(PropsMode, int index)> openProps;
        // The presentation's default time as last kept, for new pages.
        std::function<std::chrono::seconds()> defaultTime;
    };
    // events gives the page on show and shows an entry.
    ListTab(Kind kind, WorkingLists& lists, Hooks hooks, ConfigEvents& events, QWidget* parent);
    // The lines of the working list; the line to select (-1 for none).
    void Fill(int selectLine);

  private:
    // 1-based, 0 when no line is selected.
    int Current() const;
    int Count() const;
    std::string AddressOf(int entry) const;
    template <class F>
    int WithList(F f);
    void Show(int line);
    void SelectionChanged();
    void Insert();
    void Delete();
    void Move(bool up);
    void Grab();
    void View();
    void Props();

    Kind kind_;
    WorkingLists& lists_;
    Hooks hooks_;
    ConfigEvents& events_;
    QListWidget* list_;
    QPushButton* up_ = nullptr;
    QPushButton* down_ = nullptr;
    QPushButton* props_;
};

}  // namespace pagelark
