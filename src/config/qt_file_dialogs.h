#pragma once
// The file dialogs and message boxes of the File commands and the properties dialog, on
// QFileDialog and QMessageBox.

#include <QPointer>
#include <QString>
#include <QWidget>
#include <string_view>

#include "editor/file_commands.h"

namespace pagelark {

// "desc|*.a;*.b|desc2|*.c" in Qt's form, "desc (*.a *.b);;desc2 (*.c)". A description that
// already ends in its patterns in brackets keeps only one copy of them.
QString QtFileFilter(std::string_view filter);

class QtFileDialogs final : public FileDialogs {
  public:
    // The window the dialogs and boxes belong to; none before it exists.
    void SetParentWindow(QWidget* parent) { parent_ = parent; }

    std::string OpenFileDialog(const std::string& initialFolder, const std::string& fileName,
                               std::string_view filter, int filterIndex,
                               const std::string& title) override;
    std::string SaveFileDialog(const std::string& initialFolder, const std::string& fileName,
                               std::string_view filter, int filterIndex,
                               const std::string& defaultExtension,
                               const std::string& title) override;
    Answer AskSaveChanges(const std::string& text) override;
    Answer AskReload(const std::string& text) override;
    void ShowError(const std::string& text) override;

  private:
    QPointer<QWidget> parent_;
};

}  // namespace pagelark
