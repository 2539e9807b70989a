#include "settings/file_registry.h"

#include <filesystem>
#include <optional>

#include "platform/desktop_defaults.h"
#include "platform/file_io.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/system_registry.h"
#include "platform/text.h"
#include "settings/registry_store.h"

namespace pagelark {
namespace {

constexpr unsigned kFileMode = 0600;
constexpr unsigned kFolderMode = 0700;

bool StorableName(std::string_view name) {
    return name.find_first_of(std::string_view("\n\0", 2)) == std::string_view::npos;
}

std::string Below(std::string_view base, std::string_view path) {
    std::string full(base);
    const auto clean = CleanKeyPath(path);
    if (!clean.empty()) full += "\\" + clean;
    return full;
}

RegError MakeRegistryFolder(const std::string& folder) {
    const int err = MakeFolder(folder, kFolderMode);
    if (err == 0 || DirExists(folder)) return RegError::Success;
    return IsDenial(err) ? RegError::AccessDenied : RegError::WriteFault;
}

// Copies a file that could not be read into memory, through a temporary file so that an
// older copy is only replaced by a whole one.
bool CopyAside(const std::string& fromText, const std::string& toText) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path from = FsPath(fromText), to = FsPath(toText), temp = FsPath(toText + ".tmp");
    if (!fs::is_regular_file(from, ec)) return false;
    fs::copy_file(from, temp, fs::copy_options::overwrite_existing, ec);
    if (!ec) fs::permissions(temp, fs::perms::owner_read | fs::perms::owner_write, ec);
    if (!ec) fs::rename(temp, to, ec);
    if (ec) fs::remove(temp, ec);
    return !ec && fs::is_regular_file(to, ec);
}

}  // namespace

std::string RegistryFolderFromEnvironment() {
    if (std::string dir = EnvironmentValue("PAGELARK_REGISTRY_DIR"); !dir.empty()) return dir;
    const std::string config = EnvironmentValue("XDG_CONFIG_HOME");
    if (config.starts_with('/')) return config + "/pagelark";
    const auto home = HomeFolder();
    return home.empty() ? std::string() : home + "/.config/pagelark";
}

std::string ManagedFolderFromEnvironment() {
    if (std::string dir = EnvironmentValue("PAGELARK_MANAGED_DIR"); !dir.empty()) return dir;
    return SystemManagedFolder();
}

std::unique_ptr<RegistryBackend> OpenEnvironmentStore(bool quiet) {
    if (EnvironmentValue("PAGELARK_REGISTRY_DIR").empty()) {
        if (auto system = SystemRegistry()) return system;
    }
    return OpenRegistryStore(RegistryFolderFromEnvironment(), quiet);
}

std::unique_ptr<RegistryBackend> OpenRegistryStore(const std::string& folder, bool quiet) {
    // A stream without a buffer drops what it is given.
    static std::ostream nowhere(nullptr);
    return std::make_unique<FileRegistry>(folder, quiet ? nowhere : std::cerr);
}

FileRegistry::FileRegistry(std::string folder, std::ostream& errors)
    : folder_(std::move(folder)), errors_(errors) {
    while (folder_.size() > 1 && folder_.back() == '/')
        folder_.pop_back();
}

FileRegistry::Store& FileRegistry::Loaded(Store& store) {
    if (store.loaded) return store;
    store.loaded = true;
    if (folder_.empty()) return store;
    const std::string path = FilePath(store);
    auto read = ReadWholeFile(path);
    std::string problem;
    if (read.status == ReadStatus::Ok) {
        auto parsed = ParseRegFile(read.data);
        store.unread = std::move(parsed.unread);
        if (parsed.ok) {
            store.document = std::move(parsed.document);
            ReportUnread(path, store.unread);
            return store;
        }
        problem =
            (parsed.line != 0 ? "line " + std::to_string(parsed.line) + ": " : "") + parsed.reason;
        store.badBytes = std::move(read.data);
        store.badBytesKept = true;
    } else if (read.status == ReadStatus::Missing) {
        return store;
    } else {
        problem = read.error;
        if (read.status == ReadStatus::Unreadable) store.readError = read.error;
    }
    store.bad = true;
    errors_ << "pagelark: registry file " << path << ": " << problem
            << "; read as empty, the file is kept as " << store.fileName
            << ".bad before it is rewritten\n";
    return store;
}

void FileRegistry::ReportUnread(const std::string& path, const std::vector<RegUnreadLine>& unread) {
    constexpr std::size_t kMostReported = 10;
    for (std::size_t i = 0; i < unread.size() && i < kMostReported; ++i) {
        errors_ << "pagelark: registry file " << path << ": line " << unread[i].line << ": "
                << unread[i].reason << "; the line is left out, and kept as it stands\n";
    }
    if (unread.size() > kMostReported) {
        errors_ << "pagelark: registry file " << path << ": " << unread.size() - kMostReported
                << " more lines left out\n";
    }
}

std::optional<FileRegistry::Place> FileRegistry::PlaceFor(RegRoot root, std::string_view path) {
    switch (root) {
        case RegRoot::LocalMachine:
            return Place{&Loaded(machine_), Below("HKEY_LOCAL_MACHINE", path)};
        case RegRoot::CurrentUser:
            return Place{&Loaded(user_), Below("HKEY_CURRENT_USER", path)};
        default:
            return std::nullopt;
    }
}

bool FileRegistry::KeyExists(RegRoot root, std::string_view path) {
    if (!StorableName(path)) return false;
    const auto place = PlaceFor(root, path);
    return place && place->store->document.Exists(place->path);
}

RegError FileRegistry::OpenKey(RegRoot root, std::string_view path) {
    return KeyExists(root, path) ? RegError::Success : RegError::FileNotFound;
}

RegError FileRegistry::CreateKey(RegRoot root, std::string_view path) {
    if (KeyExists(root, path)) return RegError::Success;
    const auto place = PlaceFor(root, path);
    if (!place) return RegError::AccessDenied;
    if (!StorableName(path)) return RegError::InvalidName;
    return Commit(*place->store, [&](RegDocument& document) { document.Add(place->path); });
}

RegRead FileRegistry::QueryValue(RegRoot root, std::string_view path, std::string_view name) {
    if (!StorableName(path) || !StorableName(name)) return {};
    const auto place = PlaceFor(root, path);
    const RegKey* key = place ? place->store->document.Find(place->path) : nullptr;
    const RegValue* found = key != nullptr ? key->Find(name) : nullptr;
    if (found != nullptr) return {RegError::Success, *found};
    return {};
}

RegError FileRegistry::SetValue(RegRoot root, std::string_view path, std::string_view name,
                                const RegValue& value) {
    const auto place = PlaceFor(root, path);
    if (!place) return RegError::AccessDenied;
    if (!StorableName(path) || !StorableName(name)) return RegError::InvalidName;
    if (!place->store->document.Exists(place->path)) return RegError::FileNotFound;
    // An implicit parent exists without a key of its own.
    if (const RegKey* key = place->store->document.Find(place->path)) {
        const RegValue* old = key->Find(name);
        if (old != nullptr && old->type == value.type && old->data == value.data) {
            return RegError::Success;  // nothing changes, so the file is left alone
        }
    }
    return Commit(*place->store,
                  [&](RegDocument& document) { document.Add(place->path).Set(name, value); });
}

std::string FileRegistry::Where(RegRoot root) const {
    if (folder_.empty()) return {};
    return root == RegRoot::CurrentUser ? FilePath(user_) : FilePath(machine_);
}

std::string FileRegistry::UnreadValue(RegRoot root, std::string_view path, std::string_view name) {
    if (!StorableName(path) || !StorableName(name)) return {};
    const auto place = PlaceFor(root, path);
    if (!place) return {};
    const std::string named(name);
    const Store& store = *place->store;
    if (!store.readError.empty())
        return "the file cannot be read (" + store.readError + "), so what it sets is not known";
    for (const RegUnreadLine& line : store.unread) {
        if (NamesWord(line.text, name))
            return "line " + std::to_string(line.line) + " names " + named + " but is not read";
    }
    // A file too large to read has no lines to show it.
    if (store.bad && LeftOutNames(store, name)) return "the file is not read, and names " + named;
    // A typo in a key line puts the value under a key nobody reads.
    const std::string own = RegDocument::NormalPath(place->path);
    for (const RegKey* key : store.document.Keys()) {
        if (key->Find(name) != nullptr && RegDocument::NormalPath(key->Path()) != own)
            return named + " stands under [" + key->Path() + "], which is not read";
    }
    return {};
}

bool FileRegistry::LeftOutNames(const Store& store, std::string_view name) const {
    if (store.badBytesKept && !store.badSaved) return NamesWord(store.badBytes, name);
    // Once rewritten, the file as it was is the copy kept aside; what cannot be read may name it.
    return FileNamesWord(FilePath(store) + (store.badSaved ? ".bad" : ""), name).value_or(true);
}

RegError FileRegistry::DeleteValue(RegRoot root, std::string_view path, std::string_view name) {
    const auto place = PlaceFor(root, path);
    if (!place) return RegError::AccessDenied;
    if (!StorableName(path) || !StorableName(name)) return RegError::FileNotFound;
    const RegKey* key = place->store->document.Find(place->path);
    if (key == nullptr || key->Find(name) == nullptr) return RegError::FileNotFound;
    return Commit(*place->store,
                  [&](RegDocument& document) { document.Find(place->path)->Remove(name); });
}

template <typename Change>
RegError FileRegistry::Commit(Store& store, Change change) {
    // A copy costs no more than the rewrite that follows, and undoes any change exactly.
    RegDocument before = store.document;
    change(store.document);
    const RegError result = WriteOut(store);
    if (result != RegError::Success) store.document = std::move(before);
    return result;
}

RegError FileRegistry::WriteOut(Store& store) {
    if (folder_.empty()) return RegError::AccessDenied;
    if (const auto made = MakeRegistryFolder(folder_); made != RegError::Success) return made;
    if (store.bad && !store.badSaved) {
        if (!SaveBadCopy(store)) return RegError::AccessDenied;
        store.badSaved = true;
        store.badBytes.clear();
        store.badBytes.shrink_to_fit();
    }
    if (const Result<> written =
            ReplaceFileAtomically(FilePath(store), WriteRegFile(store.document), kFileMode);
        !written) {
        return IsDenialReason(written.Error()) ? RegError::AccessDenied : RegError::WriteFault;
    }
    return RegError::Success;
}

bool FileRegistry::SaveBadCopy(Store& store) {
    const std::string path = FilePath(store);
    const std::string badPath = path + ".bad";
    const Result<> written =
        store.badBytesKept ? ReplaceFileAtomically(badPath, store.badBytes, kFileMode) : Done();
    const std::string& reason = written.Error();
    const bool saved = store.badBytesKept ? written.Ok() : CopyAside(path, badPath);
    // An older copy may have looser permissions; this one holds registry data.
    if (saved) {
        std::error_code ec;
        std::filesystem::permissions(
            FsPath(badPath),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write, ec);
    }
    if (!saved && !store.copyFailureReported) {
        store.copyFailureReported = true;
        errors_ << "pagelark: registry file " << path << ": cannot keep it as " << badPath
                << (reason.empty() ? "" : " (" + reason + ")") << "; changes are refused\n";
    }
    return saved;
}

}  // namespace pagelark
