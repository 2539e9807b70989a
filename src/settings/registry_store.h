#pragma once
// The registry store this system offers the program.

#include <memory>
#include <string>

#include "platform/registry_backend.h"

namespace pagelark {

// Where the store keeps its files: $PAGELARK_REGISTRY_DIR, else $XDG_CONFIG_HOME/pagelark,
// else ~/.config/pagelark. "" when there is no home.
std::string RegistryFolderFromEnvironment();

// Where configuration management puts the settings that win over the store:
// $PAGELARK_MANAGED_DIR, else the system's (SystemManagedFolder()).
std::string ManagedFolderFromEnvironment();

// The store the environment names: the file store of $PAGELARK_REGISTRY_DIR when it is set,
// else the system's own registry where it has one, else the file store in
// RegistryFolderFromEnvironment().
std::unique_ptr<RegistryBackend> OpenEnvironmentStore(bool quiet = false);

// The store kept in folder; "" gives a store that holds nothing and refuses every write.
// Quiet: a broken file is not reported.
std::unique_ptr<RegistryBackend> OpenRegistryStore(const std::string& folder, bool quiet = false);

}  // namespace pagelark
