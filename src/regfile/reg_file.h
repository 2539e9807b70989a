#pragma once
// The REGEDIT text format of the registry store: keys and values in file order, read from
// "REGEDIT4" (bytes as they are) or "Windows Registry Editor Version 5.00" (UTF-16LE with
// BOM, or UTF-8) files, always written back as REGEDIT4.

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/registry_backend.h"

namespace pagelark {

inline constexpr std::string_view kRegHeader4 = "REGEDIT4";

// The components of a key path joined by single backslashes, spelling kept.
std::string CleanKeyPath(std::string_view path);

// One key and its values in file order. Value names compare case-insensitively ("" is the
// default value) and keep the spelling they were first stored with.
class RegKey {
  public:
    explicit RegKey(std::string path) : path_(std::move(path)) {}

    // The full path as written between the brackets, root name included.
    const std::string& Path() const { return path_; }

    const RegValue* Find(std::string_view name) const;
    // Replaces the value in place, or appends it when the name is new.
    void Set(std::string_view name, RegValue value);
    bool Remove(std::string_view name);

    struct NamedValue {
        std::string_view name;
        const RegValue* value;
    };
    std::vector<NamedValue> Values() const;
    std::size_t ValueCount() const { return index_.size(); }

    // What stood under the key but could not be read, and its comment lines, each entry a line
    // (or the lines of one value) as it stood; written back after the values, so that a
    // rewrite loses none.
    const std::vector<std::string>& Unread() const { return unread_; }
    void KeepUnread(std::string lines) { unread_.push_back(std::move(lines)); }
    std::vector<std::string> TakeUnread() { return std::exchange(unread_, {}); }

  private:
    struct Slot {
        std::string name;
        RegValue value;
        bool removed = false;
    };
    void Compact();

    std::string path_;
    std::vector<Slot> slots_;
    std::unordered_map<std::string, std::size_t> index_;  // upper-cased name -> slot
    std::size_t removedSlots_ = 0;
    std::vector<std::string> unread_;
};

// The keys of one file in file order. Paths compare case-insensitively with empty
// components ignored ("A\\b\" is "a\B"); a key keeps the spelling it was first added with.
class RegDocument {
  public:
    RegKey* Find(std::string_view path);
    const RegKey* Find(std::string_view path) const;
    // True when the key is stored or any key below it is.
    bool Exists(std::string_view path) const;
    // The stored key, or a new one appended. path must have at least one component.
    RegKey& Add(std::string_view path);
    // Removes the key and everything below it; returns how many stored keys went. Their lines
    // that could not be read are not the file's to delete: they move before the first key.
    std::size_t RemoveTree(std::string_view path);

    std::vector<const RegKey*> Keys() const;
    std::size_t KeyCount() const { return index_.size(); }

    // Lines that could not be read or are comments and belong to no key read, written before
    // the first key.
    const std::vector<std::string>& Unread() const { return unread_; }
    void KeepUnread(std::string lines) { unread_.push_back(std::move(lines)); }

    // Upper-cased components joined with single backslashes; "" when there are none.
    static std::string NormalPath(std::string_view path);

  private:
    void Compact();

    std::vector<std::optional<RegKey>> keys_;
    std::map<std::string, std::size_t, std::less<>> index_;  // NormalPath -> position
    std::size_t removedKeys_ = 0;
    std::vector<std::string> unread_;
};

// A line the reader could not take (with the lines its value continues on).
struct RegUnreadLine {
    std::size_t line = 0;  // 1-based, its first line
    std::string reason;
    std::string text;  // as it stood, the lines its value continues on included
};

struct RegParseResult {
    bool ok = false;       // false: no registry file at all, and nothing is read
    std::size_t line = 0;  // when not ok, the 1-based line of the problem; 0 for the whole file
    std::string reason;
    RegDocument document;  // empty unless ok
    // When ok, each line left out; otherwise every line that is no blank or comment.
    std::vector<RegUnreadLine> unread;
};

// Reads a whole file. "[-KEY]" and "name"=- lines are applied as they are met, so the
// document holds what the file leaves behind. A line that cannot be read is left out and
// kept in the document as it stood, and so is a comment line; the lines of a value under a
// key line that cannot be read are too, since they have no key. An empty file is an empty
// document.
RegParseResult ParseRegFile(std::string_view bytes);

// REGEDIT4 text with CR LF line ends. A REG_SZ holding a line break or zero byte is written
// as hex(1) with a terminating zero so that it survives the line-based format. Unread lines
// are written as they stood, each ended so that it cannot run on into the next.
std::string WriteRegFile(const RegDocument& document);

}  // namespace pagelark
