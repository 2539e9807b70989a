#pragma once
// The document services of one program run, wired in one place: the registry store and the
// registry layer over it, profile files, shares, file utilities and settings.

#include <memory>
#include <string>

#include "document/file_utils.h"
#include "document/profile.h"
#include "document/registry.h"
#include "document/settings.h"
#include "platform/registry_backend.h"
#include "platform/shares.h"

namespace pagelark {

enum class RegistryAccess {
    ReadWrite,
    ReadOnly,  // reads pass; writes report success and change nothing, for tools that look
};

class DocumentSession {
  public:
    // currentFile is the presentation in use, read at every settings lookup; it must outlive
    // the session. The store is the one the environment names.
    explicit DocumentSession(const std::string& currentFile,
                             RegistryAccess access = RegistryAccess::ReadWrite);
    DocumentSession(const std::string& currentFile, const std::string& registryFolder,
                    RegistryAccess access = RegistryAccess::ReadWrite);
    DocumentSession(const DocumentSession&) = delete;
    DocumentSession& operator=(const DocumentSession&) = delete;

  private:
    std::unique_ptr<RegistryBackend> store_;
    std::unique_ptr<RegistryBackend> readOnlyView_;
    std::unique_ptr<ShareConnector> shares_;

  public:
    Registry registry;
    ProfileStore profiles;
    FileUtils files;
    Settings settings;
};

}  // namespace pagelark
