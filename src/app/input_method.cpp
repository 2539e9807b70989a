#include "app/input_method.h"

#include <QFileInfo>
#include <QLibraryInfo>

#include "app/named_presentation.h"
#include "core/command_line.h"
#include "core/on_screen_keyboard.h"
#include "ini/stored_values.h"
#include "platform/devices.h"
#include "settings/managed.h"
#include "settings/registry_store.h"
#include "settings/settings.h"
#include "storage/document_session.h"

namespace pagelark {

void ChooseInputMethod(const std::vector<std::string>& arguments,
                       const std::optional<std::string>& configFile) {
    KeyboardStart start;
    if (qEnvironmentVariableIsSet("QT_IM_MODULE"))
        start.imModule = qEnvironmentVariable("QT_IM_MODULE").toStdString();
    start.pluginInstalled =
        QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                          "/platforminputcontexts/libqtvirtualkeyboardplugin.so");
    // The settings and the devices are read at start-up only when their answer can matter.
    if (!start.imModule && start.pluginInstalled) {
        DocumentSession session(RegistryAccess::ReadOnlyQuiet);
        session.settings.SetManaged(ReadManagedFolder(ManagedFolderFromEnvironment()).settings);
        const std::string file =
            LocalFile(NamedPresentation(JoinArguments(arguments), configFile, StartupFolder(),
                                        session.settings.DefaultFilePath("")));
        start.setting = OnScreenKeyboardSetting(session.settings, file);
        start.touchScreen = !start.setting && TouchScreenPresent();
    }
    if (!UseOnScreenKeyboard(start)) return;
    qputenv("QT_IM_MODULE", "qtvirtualkeyboard");
    // Its own window would need a window manager or compositor to place it (a Wayland one
    // places none for a client): the stage draws the keyboard itself.
    qputenv("QT_VIRTUALKEYBOARD_DESKTOP_DISABLE", "1");
}

}  // namespace pagelark
