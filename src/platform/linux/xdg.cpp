#include "platform/linux/xdg.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/desktop_defaults.h"
#include "platform/text.h"

namespace pagelark {
namespace {

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

bool IsFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string DocumentsFolder() {
    if (const char* documents = g_get_user_special_dir(G_USER_DIRECTORY_DOCUMENTS)) {
        return WithoutTrailingSlash(documents);
    }
    const std::string home = WithoutTrailingSlash(g_get_home_dir());
    return IsFolder(home + "/Documents") ? home + "/Documents" : home;
}

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    return {};
}

std::string StateFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/') return std::string(state) + "/pagelark";
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') return {};
    return std::string(home) + "/.local/state/pagelark";
}

std::string SystemManagedFolder() {
    return "/etc/pagelark/managed.d";
}

std::string DefaultHtmlCommand() {
    const std::unique_ptr<GAppInfo, decltype(&g_object_unref)> app(
        g_app_info_get_default_for_type("text/html", FALSE), g_object_unref);
    // A hidden entry is one the user deleted; the lookup does not skip it by itself.
    if (!app || (G_IS_DESKTOP_APP_INFO(app.get()) &&
                 g_desktop_app_info_get_is_hidden(G_DESKTOP_APP_INFO(app.get())))) {
        return {};
    }
    const char* exec = g_app_info_get_commandline(app.get());
    return exec != nullptr ? ExecToCommand(exec) : std::string();
}

std::string ExecToCommand(std::string_view exec) {
    std::string command;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        if (exec[i] != '%') {
            command += exec[i];
            continue;
        }
        if (i + 1 == exec.size()) break;  // a lone % at the end means nothing
        const char code = exec[++i];
        if (code == '%') {
            command += '%';
        } else if (code == 'u' || code == 'U' || code == 'f' || code == 'F') {
            const bool quoted = !command.empty() && command.back() == '"' && i + 1 < exec.size() &&
                                exec[i + 1] == '"';
            command += quoted ? "%1" : "\"%1\"";
        } else {
            // Dropping "%i" from "app %i %u" must not leave two blanks behind.
            const bool blankAfter = i + 1 == exec.size() || exec[i + 1] == ' ';
            if (blankAfter && !command.empty() && command.back() == ' ') command.pop_back();
        }
    }
    return std::string(TrimBlanks(command));
}

}  // namespace pagelark
