#pragma once
// One INI file in memory, and the line rules every reader of INI files shares.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pagelark {

inline constexpr std::string_view kIniLineEnd = "\r\n";

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

// How a INI file stores its text. Files saved as "Unicode" by Windows tools are UTF-16
// with a byte-order mark; the profile functions read them, and a save keeps the form.
enum class IniEncoding { Bytes, Utf8WithMark, Utf16Le, Utf16Be };

struct IniText {
    std::string text;  // as the program works with it: UTF-8 for the Unicode forms
    IniEncoding encoding = IniEncoding::Bytes;
    // A file of LF lines is written back with LF; any other with CR LF, as Windows writes.
    std::string_view lineEnd = kIniLineEnd;
};
IniText DecodeIni(std::string_view bytes);
std::string EncodeIni(std::string_view text, IniEncoding encoding);

// The name of a section header line; nothing when the line is no header.
std::optional<std::string_view> IniHeaderName(std::string_view line);

struct IniKeyLine {
    std::string_view key;    // trimmed; may be empty, and then never matches
    std::string_view value;  // everything after the first '=', untrimmed
};
// Nothing for a comment or a line without "=".
std::optional<IniKeyLine> ParseIniKeyLine(std::string_view line);
// Whether a line may be meant to set the key name: a key line whose key names it (NamesWord),
// or another line, no comment, whose text does ("\"Locked\"=Yes", "Locked: Yes").
bool MayName(std::string_view line, std::string_view name);

inline constexpr std::size_t kNoLine = static_cast<std::size_t>(-1);

// One INI file, kept as lines grouped by section so that lookups go through a hash map
// and new sections are appended without moving anything.
class IniDocument {
  public:
    // From the file's bytes.
    explicit IniDocument(std::string_view bytes);
    // From text, to be stored in the given form.
    IniDocument(std::string_view text, IniEncoding encoding, std::string_view lineEnd);

    std::string Read(std::string_view section, std::string_view key);
    // The key lines a lookup can reach in the section, in file order, the first of each key
    // only, with their values untrimmed; valid until the document changes.
    std::vector<IniKeyLine> KeyLines(std::string_view section);
    bool Write(std::string_view section, std::string_view key, std::string_view value);
    bool DeleteSection(std::string_view section);
    // The file's bytes.
    std::string Serialise() const;
    IniEncoding Encoding() const { return encoding_; }
    std::string_view LineEnd() const { return lineEnd_; }

  private:
    struct Section {
        std::string header;                  // the header line as it stands
        std::vector<std::string> lines;      // up to the next header
        std::size_t keyEnd = 0;              // one past the last key line; 0 when none
        std::size_t nextSameName = kNoLine;  // becomes visible when this one is deleted
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

    IniEncoding encoding_ = IniEncoding::Bytes;
    std::string_view lineEnd_ = kIniLineEnd;
    std::vector<std::string> preamble_;  // lines before the first header: never found
    std::vector<Section> sections_;
    std::unordered_map<std::string, SameName> index_;  // upper-cased name to its sections
};

}  // namespace pagelark
