#include "platform/linux/xdg.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "platform/file_io.h"
#include "platform/text.h"

namespace pagelark {
namespace {

// Configuration files of this kind are small; anything bigger is not one.
constexpr std::size_t kMaxConfigBytes = std::size_t{1024} * 1024;

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool IsAbsolute(std::string_view path) {
    return !path.empty() && path[0] == '/';
}

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

bool IsFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string BaseDir(const std::string& value, const std::string& home, const char* below) {
    if (IsAbsolute(value)) return WithoutTrailingSlash(value);
    return home.empty() ? std::string() : WithoutTrailingSlash(home) + below;
}

std::vector<std::string> SplitList(std::string_view text, char separator) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= text.size()) {
        auto end = text.find(separator, start);
        if (end == std::string_view::npos) end = text.size();
        items.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return items;
}

std::vector<std::string> BaseDirList(const std::string& value, std::string_view fallback) {
    std::vector<std::string> dirs;
    for (auto& dir : SplitList(value, ':')) {
        if (IsAbsolute(dir)) dirs.push_back(WithoutTrailingSlash(dir));
    }
    if (dirs.empty()) {
        for (auto& dir : SplitList(fallback, ':'))
            dirs.push_back(dir);
    }
    return dirs;
}

std::vector<std::string> ApplicationFolders(const XdgEnvironment& env) {
    std::vector<std::string> folders;
    const auto dataHome = BaseDir(env.DataHome, env.Home, "/.local/share");
    if (!dataHome.empty()) folders.push_back(dataHome + "/applications");
    for (const auto& dir : BaseDirList(env.DataDirs, "/usr/local/share:/usr/share")) {
        folders.push_back(dir + "/applications");
    }
    return folders;
}

// Visits "key=value" lines of the group named group in an INI-like file.
template <typename Visit>
void ForEachEntry(const std::string& file, std::string_view group, Visit visit) {
    const auto read = ReadWholeFile(file, kMaxConfigBytes);
    if (read.status != ReadStatus::Ok) return;
    std::string_view text = read.data;
    bool inGroup = false;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const auto line = TrimBlanksAndTabs(text.substr(start, end - start));
        start = end + 1;
        const auto clean =
            line.empty() || line.back() != '\r' ? line : line.substr(0, line.size() - 1);
        if (clean.empty() || clean[0] == '#') continue;
        if (clean[0] == '[') {
            inGroup = clean.size() >= 2 && clean.back() == ']' &&
                      clean.substr(1, clean.size() - 2) == group;
            continue;
        }
        if (!inGroup) continue;
        const auto equals = clean.find('=');
        if (equals == std::string_view::npos) continue;
        if (!visit(TrimBlanksAndTabs(clean.substr(0, equals)),
                   TrimBlanksAndTabs(clean.substr(equals + 1)))) {
            return;
        }
    }
}

// The general escapes of desktop file strings.
std::string UnescapeDesktopString(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (text[++i]) {
            case 's':
                out += ' ';
                break;
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case '\\':
                out += '\\';
                break;
            default:
                out += '\\';
                out += text[i];
                break;
        }
    }
    return out;
}

// The command of an installed, not hidden desktop file with this id; "" otherwise.
std::string CommandOf(const std::string& id, const std::vector<std::string>& folders) {
    if (id.empty() || id.find('/') != std::string::npos || id == "." || id == "..") return {};
    for (const auto& folder : folders) {
        const std::string file = folder + "/" + id;
        struct stat st {};
        if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        std::string exec;
        bool found = false;
        bool hidden = false;
        ForEachEntry(file, "Desktop Entry", [&](std::string_view key, std::string_view value) {
            if (key == "Exec" && !found) {
                exec = UnescapeDesktopString(value);
                found = true;
            } else if (key == "Hidden") {
                hidden = value == "true";
            }
            return true;
        });
        // The first folder holding the id decides, even when its file is unusable.
        return hidden ? std::string() : ExecToCommand(exec);
    }
    return {};
}

std::vector<std::string> MimeAppsLists(const XdgEnvironment& env) {
    std::vector<std::string> folders;
    const auto configHome = BaseDir(env.ConfigHome, env.Home, "/.config");
    if (!configHome.empty()) folders.push_back(configHome);
    for (const auto& dir : BaseDirList(env.ConfigDirs, "/etc/xdg"))
        folders.push_back(dir);
    for (const auto& dir : ApplicationFolders(env))
        folders.push_back(dir);

    std::vector<std::string> desktops;
    for (const auto& desktop : SplitList(env.CurrentDesktop, ':')) {
        if (desktop.empty() || desktop.find('/') != std::string::npos) continue;
        desktops.push_back(ToLower(desktop));
    }
    std::vector<std::string> lists;
    for (const auto& folder : folders) {
        for (const auto& desktop : desktops)
            lists.push_back(folder + "/" + desktop + "-mimeapps.list");
        lists.push_back(folder + "/mimeapps.list");
    }
    return lists;
}

}  // namespace

XdgEnvironment XdgEnvironment::FromProcessEnvironment() {
    XdgEnvironment env;
    env.Home = Env("HOME");
    if (env.Home.empty()) {
        std::vector<char> buffer(16384);
        passwd entry{};
        passwd* found = nullptr;
        if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
            found != nullptr && found->pw_dir != nullptr) {
            env.Home = found->pw_dir;
        }
    }
    env.ConfigHome = Env("XDG_CONFIG_HOME");
    env.ConfigDirs = Env("XDG_CONFIG_DIRS");
    env.DataHome = Env("XDG_DATA_HOME");
    env.DataDirs = Env("XDG_DATA_DIRS");
    env.CurrentDesktop = Env("XDG_CURRENT_DESKTOP");
    return env;
}

std::string DocumentsFolder(const XdgEnvironment& env) {
    if (env.Home.empty()) return {};
    std::string home = WithoutTrailingSlash(env.Home);
    std::string documents;
    const auto configHome = BaseDir(env.ConfigHome, env.Home, "/.config");
    // Not an INI group file: every line is at top level, so read it by hand.
    const auto read = ReadWholeFile(configHome + "/user-dirs.dirs", kMaxConfigBytes);
    if (read.status == ReadStatus::Ok) {
        std::string_view text = read.data;
        std::size_t start = 0;
        while (start < text.size()) {
            auto end = text.find('\n', start);
            if (end == std::string_view::npos) end = text.size();
            auto line = TrimBlanksAndTabs(text.substr(start, end - start));
            start = end + 1;
            if (!line.starts_with("XDG_DOCUMENTS_DIR")) continue;
            line = TrimBlanksAndTabs(line.substr(17));
            if (line.empty() || line[0] != '=') continue;
            line = TrimBlanksAndTabs(line.substr(1));
            std::string value;
            if (!line.empty() && line[0] == '"') {
                bool closed = false;
                for (std::size_t i = 1; i < line.size() && !closed; ++i) {
                    if (line[i] == '\\' && i + 1 < line.size()) {
                        value += line[++i];
                    } else if (line[i] == '"') {
                        closed = true;
                    } else {
                        value += line[i];
                    }
                }
                if (!closed) continue;
            } else {
                value = std::string(TrimBlanksAndTabs(line.substr(0, line.find('\r'))));
            }
            if (value.starts_with("$HOME") && (value.size() == 5 || value[5] == '/')) {
                documents = home + value.substr(5);
            } else if (IsAbsolute(value)) {
                documents = value;  // the last valid line wins, as in the file's own tools
            }
        }
    }
    if (!documents.empty()) return WithoutTrailingSlash(documents);
    if (IsFolder(home + "/Documents")) return home + "/Documents";
    return home;
}

std::string DefaultHtmlCommand(const XdgEnvironment& env) {
    const auto folders = ApplicationFolders(env);
    std::string command;
    for (const auto& list : MimeAppsLists(env)) {
        ForEachEntry(list, "Default Applications",
                     [&](std::string_view key, std::string_view value) {
                         if (key != "text/html") return true;
                         for (const auto& id : SplitList(value, ';')) {
                             command = CommandOf(std::string(TrimBlanksAndTabs(id)), folders);
                             if (!command.empty()) return false;
                         }
                         return true;
                     });
        if (!command.empty()) return command;
    }
    return {};
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
