#include "app/shell_open.h"

#include <QProcess>
#include <QStringList>

namespace pagelark {

bool QtShell::Open(const ShellCommand& command) {
    if (command.program.empty()) return false;
    // Each option and the document are one argument each, as the command line quoted them:
    // the address reaches the browser exactly as given.
    QStringList arguments;
    for (const std::string& option : command.options)
        arguments << QString::fromStdString(option);
    arguments << QString::fromStdString(command.document);
    // Not a child of ours: the browser outlives the kiosk.
    return QProcess::startDetached(QString::fromStdString(command.program), arguments,
                                   QString::fromStdString(command.directory));
}

}  // namespace pagelark
