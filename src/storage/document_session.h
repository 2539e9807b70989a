#pragma once
// The document services of one program run, wired in one place: the registry store and the
// registry layer over it, INI files, shares, file utilities and settings.

#include <memory>
#include <string>

#include "ini/ini_store.h"
#include "platform/registry_backend.h"
#include "platform/windows_only/shares.h"
#include "settings/registry.h"
#include "settings/settings.h"
#include "storage/file_utils.h"

namespace pagelark {

enum class RegistryAccess {
    ReadWrite,
    ReadOnly,  // reads pass; writes report success and change nothing, for tools that look
    // As ReadOnly, and a broken store is left for the run's own session to report.
    ReadOnlyQuiet,
};

class DocumentSession {
  public:
    // The store is the one the environment names (OpenEnvironmentStore).
    explicit DocumentSession(RegistryAccess access = RegistryAccess::ReadWrite);
    // The access is named so that no other string can pass for the folder.
    DocumentSession(const std::string& registryFolder, RegistryAccess access);
    DocumentSession(const DocumentSession&) = delete;
    DocumentSession& operator=(const DocumentSession&) = delete;

  private:
    DocumentSession(std::unique_ptr<RegistryBackend> store, RegistryAccess access);

    std::unique_ptr<RegistryBackend> store_;
    std::unique_ptr<RegistryBackend> readOnlyView_;
    std::unique_ptr<ShareConnector> shares_;

  public:
    Registry registry;
    IniStore iniFiles;
    FileUtils files;
    Settings settings;
};

}  // namespace pagelark
