#include "app/named_presentation.h"

#include <QDir>
#include <QSysInfo>
#include <cstdlib>

#include "core/command_line.h"
#include "platform/machine_id.h"
#include "platform/paths.h"
#include "publish/http_rules.h"
#include "publish/publication.h"

namespace pagelark {

std::string StartupFolder() {
    return WithTrailingSeparator(QDir::currentPath().toStdString());
}

std::string NamedPresentation(std::string_view raw, const std::optional<std::string>& configFile,
                              const std::string& startupFolder, const std::string& defaultFile) {
    std::string file = configFile ? *configFile : ParseCommandLine(raw, defaultFile);
    if (!file.empty() && !IsAbsolutePath(file) && !IsPublishedAddress(file))
        file = startupFolder + file;
    return file;
}

std::string PublishedAddress(const std::string& file) {
    if (!IsPublishedAddress(file)) return "";
    return ExpandAddress(file, QSysInfo::machineHostName().toStdString(), MachineId());
}

std::string CacheFolder() {
    return PublishedCacheFolder(std::getenv("XDG_CACHE_HOME"), std::getenv("HOME"));
}

std::string LocalFile(const std::string& file) {
    const std::string address = PublishedAddress(file);
    return address.empty() ? file : PublishedCopyPath(CacheFolder(), address);
}

}  // namespace pagelark
