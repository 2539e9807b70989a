#pragma once
// The file dialogs and message boxes of the File commands and the properties dialog, on
// QFileDialog and QMessageBox.

#include <QString>
#include <QWidget>
#include <functional>

#include "editor/file_commands.h"

namespace pagelark {

// Qt's form of a filter: "name (*.a *.b)".
QString QtFileFilter(const FileFilter& filter);

class QtFileDialogs final : public FileDialogs {
  public:
    // parent: the window the dialogs and boxes belong to, asked each time: the window is built
    // with them.
    explicit QtFileDialogs(std::function<QWidget*()> parent) : parent_(std::move(parent)) {}

    std::string OpenFileDialog(const std::string& initialFolder, const std::string& fileName,
                               const FileFilter& filter, const std::string& title) override;
    std::string SaveFileDialog(const std::string& initialFolder, const std::string& fileName,
                               const FileFilter& filter, const std::string& defaultExtension,
                               const std::string& title) override;
    Answer AskSaveChanges(const std::string& text) override;
    Answer AskReload(const std::string& text) override;
    void ShowError(const std::string& text) override;
    void ShowInformation(const std::string& text) override;

  private:
    std::function<QWidget*()> parent_;
};

}  // namespace pagelark
