#include "document/profile.h"

#include <sys/stat.h>

#include <cerrno>
#include <optional>
#include <unordered_map>

#include "document/text.h"
#include "platform/file_io.h"

namespace pagelark {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kNone = static_cast<std::size_t>(-1);
// Clean copies kept for reuse; dirty ones stay until flushed whatever their number.
constexpr std::size_t kMaxCleanEntries = 4;
// Sections longer than this get a key index, so a long section is not scanned per lookup.
constexpr std::size_t kKeyIndexThreshold = 16;

// Calls onLine for every line of text; CR LF, LF and a lone CR all end a line, and a final
// line without an end counts when it is not empty.
template <typename OnLine>
void ForEachLine(std::string_view text, OnLine&& onLine) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            onLine(text.substr(pos));
            return;
        }
        onLine(text.substr(pos, end - pos));
        pos = (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? end + 2
                                                                                    : end + 1;
    }
}

std::string_view SkipByteOrderMark(std::string_view text) {
    return text.substr(0, kByteOrderMark.size()) == kByteOrderMark
               ? text.substr(kByteOrderMark.size())
               : text;
}

std::string_view TrimLeadingBlanksAndTabs(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

// The name of a section header line, or nothing when the line is not a header.
std::optional<std::string_view> HeaderName(std::string_view line) {
    const auto text = TrimLeadingBlanksAndTabs(line);
    if (text.empty() || text[0] != '[') return std::nullopt;
    const auto close = text.find(']', 1);
    if (close == std::string_view::npos) return std::nullopt;
    return TrimBlanksAndTabs(text.substr(1, close - 1));
}

struct KeyLine {
    std::string_view key;    // trimmed; may be empty, and then never matches
    std::string_view value;  // everything after the first '=', untrimmed
};

std::optional<KeyLine> ParseKeyLine(std::string_view line) {
    const auto text = TrimLeadingBlanksAndTabs(line);
    if (!text.empty() && text[0] == ';') return std::nullopt;
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    return KeyLine{TrimBlanksAndTabs(line.substr(0, equals)), line.substr(equals + 1)};
}

std::string ValueOf(std::string_view raw) {
    auto value = TrimBlanksAndTabs(raw);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    std::string result = CutAtNul(value);
    if (result.size() > kProfileValueLimit) result.resize(kProfileValueLimit);
    return result;
}

// What stat says about a file; a cached copy is reused only while this stays the same.
struct FileSignature {
    enum class Kind { Missing, File, Other } kind = Kind::Other;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    long long mtimeNs = 0;
    long long ctimeNs = 0;

    bool Matches(const FileSignature& other) const {
        if (kind == Kind::Other || kind != other.kind) return false;
        return kind == Kind::Missing ||
               (device == other.device && inode == other.inode && size == other.size &&
                mtimeNs == other.mtimeNs && ctimeNs == other.ctimeNs);
    }
};

FileSignature SignatureOf(const std::string& file) {
    FileSignature signature;
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) signature.kind = FileSignature::Kind::Missing;
        return signature;
    }
    if (!S_ISREG(st.st_mode)) return signature;
    signature.kind = FileSignature::Kind::File;
    signature.device = st.st_dev;
    signature.inode = st.st_ino;
    signature.size = st.st_size;
    signature.mtimeNs =
        static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    signature.ctimeNs =
        static_cast<long long>(st.st_ctim.tv_sec) * 1000000000LL + st.st_ctim.tv_nsec;
    return signature;
}

// A caller's section or key name: handed over as a C string, blanks around it ignored.
std::string CallerName(std::string_view name) {
    return std::string(TrimBlanksAndTabs(CutAtNul(name)));
}

// A name that could not be read back as written (it would break its line, or end the key or
// the section name early) is refused rather than corrupting the file.
bool WritableName(std::string_view name, std::string_view forbidden) {
    return name.find_first_of(forbidden) == std::string_view::npos;
}

// A value is one line: line breaks inside it become blanks instead of starting new lines
// that would read as keys or sections of their own.
std::string OneLine(std::string_view value) {
    std::string line = CutAtNul(value);
    for (char& c : line) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return line;
}

}  // namespace

// One profile file, kept as lines grouped by section so that lookups go through a hash map
// and new sections are appended without moving anything.
class ProfileDocument {
  public:
    explicit ProfileDocument(std::string_view text);

    std::string Read(std::string_view section, std::string_view key);
    bool Write(std::string_view section, std::string_view key, std::string_view value);
    bool DeleteSection(std::string_view section);
    std::string Serialise() const;

  private:
    struct Section {
        std::string header;                // the header line as it stands
        std::vector<std::string> lines;    // up to the next header
        std::size_t keyEnd = 0;            // one past the last key line; 0 when none
        std::size_t nextSameName = kNone;  // becomes visible when this one is deleted
        bool deleted = false;
        // Upper-cased key to line number, first of duplicates; built for long sections only.
        std::unique_ptr<std::unordered_map<std::string, std::size_t>> keyIndex;
    };
    struct SameName {
        std::size_t first;
        std::size_t last;
    };

    void AddLine(std::string_view line);
    Section* FindSection(std::string_view section);
    std::size_t FindKey(Section& section, std::string_view key);

    bool byteOrderMark_ = false;
    std::vector<std::string> preamble_;  // lines before the first header: never found
    std::vector<Section> sections_;
    std::unordered_map<std::string, SameName> index_;  // upper-cased name to its sections
};

ProfileDocument::ProfileDocument(std::string_view text) {
    const auto body = SkipByteOrderMark(text);
    byteOrderMark_ = body.size() != text.size();
    ForEachLine(body, [this](std::string_view line) { AddLine(line); });
}

void ProfileDocument::AddLine(std::string_view line) {
    if (const auto name = HeaderName(line)) {
        const std::size_t number = sections_.size();
        sections_.push_back(Section{});
        sections_.back().header = std::string(line);
        if (name->empty()) return;  // a nameless section: its keys are out of reach
        const auto [it, inserted] = index_.try_emplace(ToUpper(*name), SameName{number, number});
        if (!inserted) {
            sections_[it->second.last].nextSameName = number;
            it->second.last = number;
        }
        return;
    }
    if (sections_.empty()) {
        preamble_.emplace_back(line);
        return;
    }
    auto& section = sections_.back();
    section.lines.emplace_back(line);
    if (ParseKeyLine(line)) section.keyEnd = section.lines.size();
}

ProfileDocument::Section* ProfileDocument::FindSection(std::string_view section) {
    if (section.empty()) return nullptr;
    const auto it = index_.find(ToUpper(section));
    return it == index_.end() ? nullptr : &sections_[it->second.first];
}

std::size_t ProfileDocument::FindKey(Section& section, std::string_view key) {
    if (key.empty()) return kNone;
    if (!section.keyIndex && section.lines.size() > kKeyIndexThreshold) {
        section.keyIndex = std::make_unique<std::unordered_map<std::string, std::size_t>>();
        for (std::size_t i = 0; i < section.keyEnd; ++i) {
            const auto parsed = ParseKeyLine(section.lines[i]);
            if (parsed && !parsed->key.empty())
                section.keyIndex->try_emplace(ToUpper(parsed->key), i);
        }
    }
    if (section.keyIndex) {
        const auto it = section.keyIndex->find(ToUpper(key));
        return it == section.keyIndex->end() ? kNone : it->second;
    }
    for (std::size_t i = 0; i < section.keyEnd; ++i) {
        const auto parsed = ParseKeyLine(section.lines[i]);
        if (parsed && EqualsNoCase(parsed->key, key)) return i;
    }
    return kNone;
}

std::string ProfileDocument::Read(std::string_view section, std::string_view key) {
    Section* found = FindSection(section);
    if (found == nullptr) return {};
    const std::size_t line = FindKey(*found, key);
    if (line == kNone) return {};
    return ValueOf(ParseKeyLine(found->lines[line])->value);
}

bool ProfileDocument::Write(std::string_view section, std::string_view key,
                            std::string_view value) {
    Section* found = FindSection(section);
    if (found == nullptr) {
        Section added;
        added.header = "[" + std::string(section) + "]";
        added.lines.push_back(std::string(key) + "=" + std::string(value));
        added.keyEnd = 1;
        const std::size_t number = sections_.size();
        sections_.push_back(std::move(added));
        index_.emplace(ToUpper(section), SameName{number, number});
        return true;
    }
    const std::size_t line = FindKey(*found, key);
    if (line != kNone) {
        // The key keeps its spelling in the file.
        std::string replaced = std::string(ParseKeyLine(found->lines[line])->key) + "=";
        replaced += value;
        if (replaced == found->lines[line]) return false;
        found->lines[line] = std::move(replaced);
        return true;
    }
    // After the last key, so blank lines and comments closing the section stay at its end.
    const std::size_t at = found->keyEnd;
    found->lines.insert(found->lines.begin() + static_cast<std::ptrdiff_t>(at),
                        std::string(key) + "=" + std::string(value));
    found->keyEnd = at + 1;
    if (found->keyIndex) found->keyIndex->try_emplace(ToUpper(key), at);
    return true;
}

bool ProfileDocument::DeleteSection(std::string_view section) {
    if (section.empty()) return false;
    const auto it = index_.find(ToUpper(section));
    if (it == index_.end()) return false;
    Section& doomed = sections_[it->second.first];
    doomed.deleted = true;
    std::vector<std::string>().swap(doomed.lines);
    doomed.keyIndex.reset();
    if (doomed.nextSameName == kNone) {
        index_.erase(it);
    } else {
        it->second.first = doomed.nextSameName;
    }
    return true;
}

std::string ProfileDocument::Serialise() const {
    std::size_t size = byteOrderMark_ ? kByteOrderMark.size() : 0;
    for (const auto& line : preamble_)
        size += line.size() + kLineEnd.size();
    for (const auto& section : sections_) {
        if (section.deleted) continue;
        size += section.header.size() + kLineEnd.size();
        for (const auto& line : section.lines)
            size += line.size() + kLineEnd.size();
    }
    std::string text;
    text.reserve(size);
    if (byteOrderMark_) text += kByteOrderMark;
    auto put = [&text](const std::string& line) {
        text += line;
        text += kLineEnd;
    };
    for (const auto& line : preamble_)
        put(line);
    for (const auto& section : sections_) {
        if (section.deleted) continue;
        put(section.header);
        for (const auto& line : section.lines)
            put(line);
    }
    return text;
}

struct ProfileStore::Entry {
    std::string file;
    std::unique_ptr<ProfileDocument> document;
    FileSignature signature;  // of the file the document was read from
    bool dirty = false;
};

ProfileStore::ProfileStore() = default;

ProfileStore::~ProfileStore() {
    for (const auto& entry : entries_) {
        if (!entry->dirty) continue;
        std::string ignored;
        ReplaceFileAtomically(entry->file, entry->document->Serialise(), ignored);
    }
}

ProfileStore::Entry* ProfileStore::Find(const std::string& file) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if ((*it)->file != file) continue;
        entries_.splice(entries_.begin(), entries_, it);
        return entries_.front().get();
    }
    return nullptr;
}

ProfileStore::Entry* ProfileStore::Load(const std::string& file) {
    Entry* entry = Find(file);
    if (entry != nullptr && entry->dirty) return entry;  // pending writes win over the disk
    // Stat before reading: a change after this point makes the next check reread.
    FileSignature signature = SignatureOf(file);
    if (entry != nullptr && entry->signature.Matches(signature)) return entry;

    ReadResult read = ReadWholeFile(file);
    if (read.status == ReadStatus::Missing) {
        signature.kind = FileSignature::Kind::Missing;
    } else if (read.status != ReadStatus::Ok) {
        if (entry != nullptr) entries_.pop_front();  // Find put it first
        return nullptr;
    }
    if (entry == nullptr) {
        entries_.push_front(std::make_unique<Entry>());
        entry = entries_.front().get();
        entry->file = file;
    }
    entry->document = std::make_unique<ProfileDocument>(read.data);
    entry->signature = signature;
    DropOldCleanEntries();
    return entry;
}

void ProfileStore::DropOldCleanEntries() {
    std::size_t clean = 0;
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (!(*it)->dirty && ++clean > kMaxCleanEntries) {
            it = entries_.erase(it);
        } else {
            ++it;
        }
    }
}

std::string ProfileStore::ReadProfileString(std::string_view section, std::string_view key,
                                            const std::string& file) {
    const std::string sectionName = CallerName(section);
    const std::string keyName = CallerName(key);
    if (sectionName.empty() || keyName.empty()) return {};
    Entry* entry = Load(file);
    return entry == nullptr ? std::string() : entry->document->Read(sectionName, keyName);
}

void ProfileStore::WriteProfileString(std::string_view section, std::string_view key,
                                      std::string_view value, const std::string& file) {
    const std::string sectionName = CallerName(section);
    const std::string keyName = CallerName(key);
    if (sectionName.empty() || keyName.empty()) return;
    if (!WritableName(sectionName, "]\r\n") || !WritableName(keyName, "=\r\n")) return;
    Entry* entry = Load(file);
    if (entry == nullptr) return;  // never overwrite what we could not read
    if (entry->document->Write(sectionName, keyName, OneLine(value))) entry->dirty = true;
}

void ProfileStore::DeleteProfileSection(std::string_view section, const std::string& file) {
    const std::string sectionName = CallerName(section);
    if (sectionName.empty()) return;
    Entry* entry = Load(file);
    if (entry == nullptr) return;
    if (entry->document->DeleteSection(sectionName)) entry->dirty = true;
}

bool ProfileStore::FlushProfileCache(const std::string& file, std::string* error) {
    if (error != nullptr) error->clear();
    Entry* entry = Find(file);
    if (entry == nullptr) return true;
    bool ok = true;
    if (entry->dirty) {
        std::string reason;
        ok = ReplaceFileAtomically(file, entry->document->Serialise(), reason);
        if (!ok && error != nullptr) *error = reason;
    }
    entries_.pop_front();  // Find put it first
    return ok;
}

void ProfileStore::ReplaceProfile(const std::string& file, const std::vector<std::string>& lines) {
    std::string text;
    std::size_t size = 0;
    for (const auto& line : lines)
        size += line.size() + kLineEnd.size();
    text.reserve(size);
    for (const auto& line : lines) {
        text += line;
        text += kLineEnd;
    }
    Entry* entry = Find(file);
    if (entry == nullptr) {
        entries_.push_front(std::make_unique<Entry>());
        entry = entries_.front().get();
        entry->file = file;
    }
    entry->document = std::make_unique<ProfileDocument>(text);
    entry->dirty = true;
}

std::string ReadSectionNames(const std::string& file, std::string_view separator) {
    const ReadResult read = ReadWholeFile(file);
    if (read.status != ReadStatus::Ok) return {};
    std::string names;
    ForEachLine(SkipByteOrderMark(read.data), [&](std::string_view line) {
        const auto text = TrimBlanksAndTabs(line);
        if (text.empty() || text[0] != '[') return;
        const auto close = text.find(']');
        if (close == std::string_view::npos || close < 2) return;
        names += text.substr(1, close - 1);
        names += separator;
    });
    return names;
}

std::int32_t CountItems(std::string_view list, std::string_view separator) {
    std::int32_t count = 0;
    ItemWalker walker(list, separator);
    std::string item;
    while (walker.Next(item))
        ++count;
    return count;
}

std::string NthItem(std::string_view list, std::string_view separator, std::int32_t position) {
    if (position < 1) return {};
    ItemWalker walker(list, separator);
    std::string item;
    for (std::int32_t i = 1; walker.Next(item); ++i) {
        if (i == position) return item;
    }
    return {};
}

ItemWalker::ItemWalker(std::string_view list, std::string_view separator)
    : list_(list), separator_(separator) {}

bool ItemWalker::Next(std::string& item) {
    if (separator_.empty() || position_ >= list_.size()) return false;
    const auto end = list_.find(separator_, position_);
    if (end == std::string_view::npos) {
        item.assign(list_.substr(position_));
        position_ = list_.size();
    } else {
        item.assign(list_.substr(position_, end - position_));
        position_ = end + separator_.size();
    }
    return true;
}

}  // namespace pagelark
