#pragma once
// INI files with the semantics of Windows' profile functions, and the
// section-list helpers the presentation reader walks.

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace pagelark {

class IniDocument;  // one parsed file (profile_document.h)

// Key access to INI files through a write-back cache: writes change the cached copy of
// the file; FlushIniCache writes it out (temporary file + rename, so the old file stays
// whole if anything fails). Reads see pending writes.
class IniStore {
  public:
    IniStore();
    ~IniStore();  // writes out whatever is still pending
    IniStore(const IniStore&) = delete;
    IniStore& operator=(const IniStore&) = delete;

    std::string ReadString(std::string_view section, std::string_view key, const std::string& file);
    // Ignored when section or key is blank, or when the file exists but cannot be read.
    void WriteString(std::string_view section, std::string_view key, std::string_view value,
                     const std::string& file);
    void DeleteIniSection(std::string_view section, const std::string& file);

    // Writes out what is pending for file and forgets the cached copy. Succeeds when nothing
    // was pending or the write succeeded; otherwise the pending changes are dropped (the file
    // on disk is as it was) and the reason comes back.
    Result<> FlushIniCache(const std::string& file);

    // Starts file afresh in the cache as if it had been emptied and these lines written to
    // it, each ended with lineEnd, in the file's own encoding; the disk is touched only by the
    // next flush, so the old file stays until then.
    void ReplaceIniFile(const std::string& file, const std::vector<std::string>& lines,
                        std::string_view lineEnd);

  private:
    struct Entry;
    Entry* Find(const std::string& file);  // the cached copy as it stands, most recent first
    Entry* Load(const std::string& file);  // up to date with the disk; null when unreadable
    void DropOldCleanEntries();
    std::list<std::unique_ptr<Entry>> entries_;
};

// Section names of file in file order, each followed by separator; "" when unreadable.
std::string ReadSectionNames(const std::string& file, std::string_view separator);
// The same of a file's bytes.
std::string SectionNames(std::string_view bytes, std::string_view separator);

// Walks a separator-terminated list (a missing final separator is assumed): one item per
// call, in order, in linear time over the whole list. Empty items come back as "".
class ItemWalker {
  public:
    ItemWalker(std::string_view list, std::string_view separator);
    bool Next(std::string& item);  // false when the list is exhausted

  private:
    std::string_view list_;
    std::string_view separator_;
    std::size_t position_ = 0;
};

}  // namespace pagelark
