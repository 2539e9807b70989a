#include "config/qt_file_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "config/controls.h"
#include "model/product.h"

namespace pagelark {

QString QtFileFilter(const FileFilter& filter) {
    QStringList patterns;
    for (std::string_view pattern : filter.patterns)
        patterns << Q(pattern);
    return Q(filter.name) + " (" + patterns.join(' ') + ")";
}

namespace {

std::string Chosen(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return S(dialog.selectedFiles().constFirst());
}

}  // namespace

// Qt's dialogs never change the current folder, so nothing needs restoring afterwards.
std::string QtFileDialogs::OpenFileDialog(const std::string& initialFolder,
                                          const std::string& fileName, const FileFilter& filter,
                                          const std::string& title) {
    QFileDialog dialog(parent_(), Q(title), Q(initialFolder), QtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!fileName.empty()) dialog.selectFile(Q(fileName));
    return Chosen(dialog);
}

std::string QtFileDialogs::SaveFileDialog(const std::string& initialFolder,
                                          const std::string& fileName, const FileFilter& filter,
                                          const std::string& defaultExtension,
                                          const std::string& title) {
    QFileDialog dialog(parent_(), Q(title), Q(initialFolder), QtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QString suffix = Q(defaultExtension);
    if (suffix.startsWith('.')) suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    if (!fileName.empty()) dialog.selectFile(Q(fileName));
    return Chosen(dialog);
}

Answer QtFileDialogs::AskReload(const std::string& text) {
    QMessageBox box(QMessageBox::Warning, "Confirm", Q(text), QMessageBox::NoButton, parent_());
    QPushButton* reload = box.addButton("&Reload", QMessageBox::AcceptRole);
    QPushButton* keep = box.addButton("&Save over it", QMessageBox::DestructiveRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(reload);
    box.exec();
    if (box.clickedButton() == reload) return Answer::Yes;
    if (box.clickedButton() == keep) return Answer::No;
    return Answer::Cancel;
}

Answer QtFileDialogs::AskSaveChanges(const std::string& text) {
    switch (QMessageBox::question(parent_(), "Confirm", Q(text),
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                  QMessageBox::Yes)) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}

void QtFileDialogs::ShowError(const std::string& text) {
    QMessageBox::critical(parent_(), "Error", Q(text));
}

void QtFileDialogs::ShowInformation(const std::string& text) {
    QMessageBox::information(parent_(), Q(kProductName), Q(text));
}

}  // namespace pagelark
