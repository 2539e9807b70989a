#include "config/qt_file_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

#include "config/controls.h"

namespace pagelark {

QString QtFileFilter(std::string_view filter) {
    const QStringList parts = Q(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        description.remove(QRegularExpression(R"(\s*\([^()]*\)$)"));
        const QString patterns = parts[i + 1].split(';', Qt::SkipEmptyParts).join(' ');
        filters << description + " (" + patterns + ")";
    }
    return filters.join(";;");
}

namespace {

// Index 0 and 1 both name the first filter, as the common dialog counts from 1.
void SelectFilter(QFileDialog& dialog, int filterIndex) {
    const QStringList filters = dialog.nameFilters();
    const qsizetype index = filterIndex > 0 ? filterIndex - 1 : 0;
    if (index < filters.size()) dialog.selectNameFilter(filters[index]);
}

std::string Chosen(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return S(dialog.selectedFiles().constFirst());
}

}  // namespace

// Qt's dialogs never change the current folder, so nothing needs restoring afterwards.
std::string QtFileDialogs::OpenFileDialog(const std::string& initialFolder,
                                          const std::string& fileName, std::string_view filter,
                                          int filterIndex, const std::string& title) {
    QFileDialog dialog(parent_, Q(title), Q(initialFolder), QtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!fileName.empty()) dialog.selectFile(Q(fileName));
    SelectFilter(dialog, filterIndex);
    return Chosen(dialog);
}

std::string QtFileDialogs::SaveFileDialog(const std::string& initialFolder,
                                          const std::string& fileName, std::string_view filter,
                                          int filterIndex, const std::string& defaultExtension,
                                          const std::string& title) {
    QFileDialog dialog(parent_, Q(title), Q(initialFolder), QtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QString suffix = Q(defaultExtension);
    if (suffix.startsWith('.')) suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    if (!fileName.empty()) dialog.selectFile(Q(fileName));
    SelectFilter(dialog, filterIndex);
    return Chosen(dialog);
}

Answer QtFileDialogs::AskReload(const std::string& text) {
    QMessageBox box(QMessageBox::Warning, "Confirm", Q(text), QMessageBox::NoButton, parent_);
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
    switch (QMessageBox::question(parent_, "Confirm", Q(text),
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
    QMessageBox::critical(parent_, "Error", Q(text));
}

}  // namespace pagelark
