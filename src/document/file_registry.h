#pragma once
// The registry kept in REGEDIT4 text files in one folder: machine.reg for HKEY_LOCAL_MACHINE,
// user.reg for HKEY_CURRENT_USER. HKEY_CLASSES_ROOT is the merged view of Software\Classes
// in both (the user's keys first; new keys go to the machine file, values to the user file
// when the key is there). A few values come from the desktop's settings and are read-only.

#include <iostream>
#include <string>
#include <vector>

#include "document/reg_file.h"
#include "document/registry.h"
#include "document/xdg.h"

namespace pagelark {

// A key or value name the text files cannot hold (line feed or zero byte in it).
inline constexpr std::int32_t ERROR_INVALID_NAME = 123;

// $PAGELARK_REGISTRY_DIR, else $XDG_CONFIG_HOME/pagelark, else ~/.config/pagelark.
std::string RegistryFolderFromEnvironment();

class FileRegistry : public RegistryBackend {
  public:
    // Nothing is read or created until a root is first used. Problems with a store file
    // are reported once each on errors.
    explicit FileRegistry(std::string folder)
        : FileRegistry(std::move(folder), XdgEnvironment::FromProcessEnvironment()) {}
    FileRegistry(std::string folder, XdgEnvironment environment, std::ostream& errors = std::cerr);

    std::int32_t OpenKey(std::uint32_t root, std::string_view path) override;
    std::int32_t CreateKey(std::uint32_t root, std::string_view path) override;
    std::int32_t QueryValue(std::uint32_t root, std::string_view path, std::string_view name,
                            RegValue& value) override;
    std::int32_t SetValue(std::uint32_t root, std::string_view path, std::string_view name,
                          const RegValue& value) override;
    std::int32_t DeleteValue(std::uint32_t root, std::string_view path,
                             std::string_view name) override;

  private:
    struct Store {
        explicit Store(std::string name) : fileName(std::move(name)) {}
        std::string fileName;  // machine.reg, user.reg
        bool loaded = false;
        RegDocument document;
        // The file on disk could not be used; it is copied to fileName.bad before the
        // first rewrite, and never replaced while that copy has not succeeded.
        bool bad = false;
        bool badBytesKept = false;  // badBytes holds the file (it was read but not parsed)
        std::string badBytes;
        bool badSaved = false;
        bool copyFailureReported = false;
    };
    struct Place {
        Store* store;
        std::string path;  // the key's full path in the store file
    };

    Store& Loaded(Store& store);
    std::string FilePath(const Store& store) const { return folder_ + "/" + store.fileName; }
    std::vector<Place> Places(std::uint32_t root, std::string_view path);
    bool KeyExists(std::uint32_t root, std::string_view path);
    // Applies change to the store and rewrites its file; undoes the change when that fails.
    template <typename Change>
    std::int32_t Commit(Store& store, Change change);
    std::int32_t WriteOut(Store& store);
    bool SaveBadCopy(Store& store);

    bool SynthesizedKeyExists(std::uint32_t root, std::string_view path) const;
    bool IsSynthesizedValue(std::uint32_t root, std::string_view path, std::string_view name) const;
    std::string SynthesizedText(std::uint32_t root, std::string_view path) const;

    std::string folder_;
    XdgEnvironment environment_;
    std::ostream& errors_;
    Store machine_{"machine.reg"};
    Store user_{"user.reg"};
};

}  // namespace pagelark
