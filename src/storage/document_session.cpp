#include "storage/document_session.h"

#include "settings/registry_store.h"

namespace pagelark {
namespace {

class ReadOnlyBackend final : public RegistryBackend {
  public:
    explicit ReadOnlyBackend(RegistryBackend& inner) : inner_(inner) {}
    RegError OpenKey(RegRoot root, std::string_view path) override {
        return inner_.OpenKey(root, path);
    }
    RegError CreateKey(RegRoot, std::string_view) override { return RegError::Success; }
    RegRead QueryValue(RegRoot root, std::string_view path, std::string_view name) override {
        return inner_.QueryValue(root, path, name);
    }
    RegError SetValue(RegRoot, std::string_view, std::string_view, const RegValue&) override {
        return RegError::Success;
    }
    RegError DeleteValue(RegRoot, std::string_view, std::string_view) override {
        return RegError::Success;
    }
    std::string Where(RegRoot root) const override { return inner_.Where(root); }
    std::string UnreadValue(RegRoot root, std::string_view path, std::string_view name) override {
        return inner_.UnreadValue(root, path, name);
    }

  private:
    RegistryBackend& inner_;
};

std::unique_ptr<RegistryBackend> ReadOnlyViewIf(RegistryAccess access, RegistryBackend& store) {
    if (access == RegistryAccess::ReadWrite) return nullptr;
    return std::make_unique<ReadOnlyBackend>(store);
}

}  // namespace

DocumentSession::DocumentSession(RegistryAccess access)
    : DocumentSession(OpenEnvironmentStore(access == RegistryAccess::ReadOnlyQuiet), access) {}

DocumentSession::DocumentSession(const std::string& registryFolder, RegistryAccess access)
    : DocumentSession(OpenRegistryStore(registryFolder, access == RegistryAccess::ReadOnlyQuiet),
                      access) {}

DocumentSession::DocumentSession(std::unique_ptr<RegistryBackend> store, RegistryAccess access)
    : store_(std::move(store)),
      readOnlyView_(ReadOnlyViewIf(access, *store_)),
      shares_(SystemShareConnector()),
      registry(readOnlyView_ ? *readOnlyView_ : *store_),
      files(*shares_, iniFiles),
      settings(iniFiles, registry) {}

}  // namespace pagelark
