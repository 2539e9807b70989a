#pragma once
// The registry kept in REGEDIT4 text files in one folder: machine.reg for HKEY_LOCAL_MACHINE,
// user.reg for HKEY_CURRENT_USER. Nothing the program keeps lives under another root.

#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry_backend.h"
#include "regfile/reg_file.h"

namespace pagelark {

class FileRegistry : public RegistryBackend {
  public:
    // Nothing is read or created until a root is first used. Problems with a store file
    // are reported once each on errors.
    explicit FileRegistry(std::string folder, std::ostream& errors = std::cerr);

    // A key or value name with a line feed or zero byte is InvalidName: the files cannot
    // hold it.
    RegError OpenKey(RegRoot root, std::string_view path) override;
    RegError CreateKey(RegRoot root, std::string_view path) override;
    RegRead QueryValue(RegRoot root, std::string_view path, std::string_view name) override;
    RegError SetValue(RegRoot root, std::string_view path, std::string_view name,
                      const RegValue& value) override;
    RegError DeleteValue(RegRoot root, std::string_view path, std::string_view name) override;
    std::string Where(RegRoot root) const override;
    std::string UnreadValue(RegRoot root, std::string_view path, std::string_view name) override;

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
        std::string readError;  // why a file that is there could not be read at all
        std::vector<RegUnreadLine> unread;
    };
    struct Place {
        Store* store;
        std::string path;  // the key's full path in the store file
    };

    Store& Loaded(Store& store);
    void ReportUnread(const std::string& path, const std::vector<RegUnreadLine>& unread);
    std::string FilePath(const Store& store) const { return folder_ + "/" + store.fileName; }
    // None for a root the files do not hold.
    std::optional<Place> PlaceFor(RegRoot root, std::string_view path);
    bool KeyExists(RegRoot root, std::string_view path);
    // Applies change to the store and rewrites its file; undoes the change when that fails.
    template <typename Change>
    RegError Commit(Store& store, Change change);
    RegError WriteOut(Store& store);
    bool SaveBadCopy(Store& store);
    // Whether the file left out whole, as first read, names the value.
    bool LeftOutNames(const Store& store, std::string_view name) const;

    std::string folder_;
    std::ostream& errors_;
    Store machine_{"machine.reg"};
    Store user_{"user.reg"};
};

}  // namespace pagelark
