#pragma once
// frmProps: the modal dialog that edits one entry of a working list, a tool bar button or
// the address box's visibility. Built anew for every showing.

#include <QDialog>
#include <functional>

#include "config/controls.h"
#include "editor/option_fields.h"
#include "editor/props_rules.h"

class QCheckBox;
class QLineEdit;

namespace pagelark {

class FileDialogs;

struct PropsContext {
    FileDialogs& dialogs;
    // Pictures chosen below it are stored relative to it.
    const std::string& startupFolder;
    // Marks the presentation changed; runs on OK before the entry is written.
    std::function<void()> changed;
};

class PropsDialog final : public QDialog {
    Q_OBJECT
  public:
    PropsDialog(PropsMode mode, WorkingLists& lists, int index, PropsContext context,
                QWidget* parent);

  private:
    void Ok();
    std::string Browse(const FileFilter& filter, const char* title);

    PropsMode mode_;
    WorkingLists& lists_;
    int index_;
    PropsContext context_;
    QLineEdit* urlEdit_;
    QLineEdit* timeEdit_;
    QCheckBox* defaultTimeCheck_;
    QLineEdit* fileNameEdit_;
    QLineEdit* helpTipEdit_;
    QCheckBox* visibleCheck_;
    DayHoursBoxes schedule_;
    QLineEdit* scrollEdit_;
    QLineEdit* zoomEdit_;
};

}  // namespace pagelark
