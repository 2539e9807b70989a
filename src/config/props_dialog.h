#pragma once
// frmProps: the modal dialog that edits one entry of a working list, a tool bar button or
// the address box's visibility. Built anew for every showing.

#include <QDialog>
#include <functional>

#include "editor/option_fields.h"
#include "editor/props_rules.h"

class QCheckBox;
class QLineEdit;

namespace pagelark {

class FileDialogs;

class PropsDialog final : public QDialog {
    Q_OBJECT
  public:
    // changed marks the presentation changed; it runs on OK before the entry is written.
    PropsDialog(PropsMode mode, WorkingLists& lists, int index, FileDialogs& dialogs,
                std::function<void()> changed, QWidget* parent);

  private:
    void Ok();
    void Browse(QLineEdit* box, std::string_view filter, const char* title);

    PropsMode mode_;
    WorkingLists& lists_;
    int index_;
    FileDialogs& dialogs_;
    std::function<void()> changed_;
    QLineEdit* txtURL_;
    QLineEdit* txtTime_;
    QCheckBox* chkDefaultTime_;
    QLineEdit* txtFileName_;
    QLineEdit* txtHelpTip_;
    QCheckBox* chkVisible_;
};

}  // namespace pagelark
