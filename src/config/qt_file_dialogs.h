#pragma once
// The file dialogs and message boxes of the File commands and the properties dialog, on
// QFileDialog and QMessageBox.

#include <QPointer>
#include <QString>
#include <QWidget>

#include "editor/file_commands.h"

namespace pagelark {

// Qt's form of a filter: "name (*.a *.b)".
QString QtFileFilter(const FileFilter& filter);

class QtFileDialogs final : public FileDialogs {
  public:
    // The window the dialogs and boxes belong to; none before it exists.
    void SetParentWindow(QWidget* parent) { parent_ = parent; }

    std::string OpenFileDialog(const std::string& initialFolder, const std::string& fileName,
                               const FileFilter& filter, const std::string& title) override;
    std::string SaveFileDialog(const std::string& initialFolder, const std::string& fileName,
                               const FileFilter& filter, const std::string& defaultExtension,
                               const std::string& title) override;
    Answer AskSaveChanges(const std::string& text) override;
    Answer AskReload(const std::string& text) override;
    void ShowError(const std::string& text) override;

  private:
    QPointer<QWidget> parent_;
};

}  // namespace pagelark
