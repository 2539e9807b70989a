#include "ini/ini_store.h"

#include "ini/ini_document.h"
#include "ini/stored_values.h"
#include "platform/file_io.h"
#include "platform/files.h"

namespace pagelark {
namespace {

// Clean copies kept for reuse; dirty ones stay until flushed whatever their number.
constexpr std::size_t kMaxCleanEntries = 4;

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

struct IniStore::Entry {
    std::string file;
    std::unique_ptr<IniDocument> document;
    FileSignature signature;  // of the file the document was read from
    bool dirty = false;
};

IniStore::IniStore() = default;

IniStore::~IniStore() {
    for (const auto& entry : entries_) {
        if (!entry->dirty) continue;
        // Nobody is left to tell.
        (void)ReplaceFileAtomically(entry->file, entry->document->Serialise());
    }
}

IniStore::Entry* IniStore::Find(const std::string& file) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if ((*it)->file != file) continue;
        entries_.splice(entries_.begin(), entries_, it);
        return entries_.front().get();
    }
    return nullptr;
}

IniStore::Entry* IniStore::Load(const std::string& file) {
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
    entry->document = std::make_unique<IniDocument>(read.data);
    entry->signature = signature;
    DropOldCleanEntries();
    return entry;
}

void IniStore::DropOldCleanEntries() {
    std::size_t clean = 0;
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (!(*it)->dirty && ++clean > kMaxCleanEntries) {
            it = entries_.erase(it);
        } else {
            ++it;
        }
    }
}

std::string IniStore::ReadString(std::string_view section, std::string_view key,
                                 const std::string& file) {
    const std::string sectionName = CallerName(section);
    const std::string keyName = CallerName(key);
    if (sectionName.empty() || keyName.empty()) return {};
    Entry* entry = Load(file);
    return entry == nullptr ? std::string() : entry->document->Read(sectionName, keyName);
}

void IniStore::WriteString(std::string_view section, std::string_view key, std::string_view value,
                           const std::string& file) {
    const std::string sectionName = CallerName(section);
    const std::string keyName = CallerName(key);
    if (sectionName.empty() || keyName.empty()) return;
    if (!WritableName(sectionName, "]\r\n") || !WritableName(keyName, "=\r\n")) return;
    Entry* entry = Load(file);
    if (entry == nullptr) return;  // never overwrite what we could not read
    if (entry->document->Write(sectionName, keyName, OneLine(value))) entry->dirty = true;
}

void IniStore::DeleteIniSection(std::string_view section, const std::string& file) {
    const std::string sectionName = CallerName(section);
    if (sectionName.empty()) return;
    Entry* entry = Load(file);
    if (entry == nullptr) return;
    if (entry->document->DeleteSection(sectionName)) entry->dirty = true;
}

Result<> IniStore::FlushIniCache(const std::string& file) {
    Entry* entry = Find(file);
    if (entry == nullptr) return Done();
    Result<> written =
        entry->dirty ? ReplaceFileAtomically(file, entry->document->Serialise()) : Done();
    entries_.pop_front();  // Find put it first
    return written;
}

void IniStore::ReplaceIniFile(const std::string& file, const std::vector<std::string>& lines,
                              std::string_view lineEnd) {
    std::string text;
    std::size_t size = 0;
    for (const auto& line : lines)
        size += line.size() + kIniLineEnd.size();
    text.reserve(size);
    for (const auto& line : lines) {
        text += line;
        text += kIniLineEnd;
    }
    // The file keeps the form it was written in.
    Entry* entry = Find(file);
    IniEncoding encoding = IniEncoding::Bytes;
    if (entry != nullptr) {
        encoding = entry->document->Encoding();
    } else if (const ReadResult read = ReadWholeFile(file); read.status == ReadStatus::Ok) {
        encoding = DecodeIni(std::string_view(read.data).substr(0, 3)).encoding;
    }
    if (entry == nullptr) {
        entries_.push_front(std::make_unique<Entry>());
        entry = entries_.front().get();
        entry->file = file;
    }
    entry->document = std::make_unique<IniDocument>(text, encoding, lineEnd);
    entry->dirty = true;
}

std::string ReadSectionNames(const std::string& file, std::string_view separator) {
    const ReadResult read = ReadWholeFile(file);
    if (read.status != ReadStatus::Ok) return {};
    return SectionNames(read.data, separator);
}

std::string SectionNames(std::string_view bytes, std::string_view separator) {
    std::string names;
    ForEachLine(DecodeIni(bytes).text, [&](std::string_view line) {
        const auto text = TrimBlanksAndTabs(line);
        if (text.empty() || text[0] != '[') return;
        const auto close = text.find(']');  // as a header is read: to the first "]"
        if (close == std::string_view::npos || close < 2) return;
        names += text.substr(1, close - 1);
        names += separator;
    });
    return names;
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
