#pragma once
// The "Tool Run" and "Tool Nav" tabs: the buttons of one tool bar, edited one at a time in the
// properties dialog. Tool Nav's last line stands for its address box.

#include <QWidget>
#include <functional>
#include <string>

#include "editor/option_fields.h"
#include "editor/props_rules.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace pagelark {

class ToolbarListTab final : public QWidget {
    Q_OBJECT
  public:
    enum class Bar { Run, Nav };
    // startupFolder: where a button's relative picture file is found.
    ToolbarListTab(Bar bar, WorkingLists& lists, std::string startupFolder,
                   std::function<void(PropsMode, int index)> openProps, QWidget* parent);
    void Fill();
    // Tool Run's note on when the bar is shown.
    void SetNote(const std::string& note);

  private:
    int ButtonCount() const;
    QString LineText(int line) const;
    // The line as the tool bar shows its button: the picture with the tip beside it.
    void ShowLine(int line);
    void Props();

    Bar bar_;
    WorkingLists& lists_;
    std::string startupFolder_;
    std::function<void(PropsMode, int)> openProps_;
    QListWidget* list_;
    QPushButton* props_;
    QLabel* note_ = nullptr;
};

}  // namespace pagelark
