#include "ini/ini_document.h"

#include <optional>

#include "ini/ini_store.h"
#include "ini/stored_values.h"

namespace pagelark {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
// Sections longer than this get a key index, so a long section is not scanned per lookup.
constexpr std::size_t kKeyIndexThreshold = 16;

std::string_view TrimLeadingBlanksAndTabs(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

std::string ValueOf(std::string_view raw) {
    auto value = TrimBlanksAndTabs(raw);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    // Whole at any length (a data: address): a value read short would be saved short.
    return CutAtNul(value);
}

}  // namespace

// As the system's profile functions read a header: the name ends at the first "]", or with
// the line when it has none, and whatever follows the "]" is no key.
std::optional<std::string_view> IniHeaderName(std::string_view line) {
    const auto text = TrimLeadingBlanksAndTabs(line);
    if (text.empty() || text[0] != '[') return std::nullopt;
    return TrimBlanksAndTabs(text.substr(1, text.find(']', 1) - 1));
}

std::optional<IniKeyLine> ParseIniKeyLine(std::string_view line) {
    const auto text = TrimLeadingBlanksAndTabs(line);
    if (!text.empty() && text[0] == ';') return std::nullopt;
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    return IniKeyLine{TrimBlanksAndTabs(line.substr(0, equals)), line.substr(equals + 1)};
}

bool MayName(std::string_view line, std::string_view name) {
    if (TrimLeadingBlanksAndTabs(line).starts_with(';')) return false;
    const auto key = ParseIniKeyLine(line);
    return NamesWord(key ? key->key : line, name);
}

IniText DecodeIni(std::string_view bytes) {
    IniText decoded;
    if (bytes.starts_with(kUtf8Mark)) {
        decoded = {std::string(bytes.substr(kUtf8Mark.size())), IniEncoding::Utf8WithMark};
    } else if (bytes.starts_with(kUtf16LeMark)) {
        decoded = {*Utf16ToUtf8(bytes.substr(2), Utf16Order::Little, false), IniEncoding::Utf16Le};
    } else if (bytes.starts_with(kUtf16BeMark)) {
        decoded = {*Utf16ToUtf8(bytes.substr(2), Utf16Order::Big, false), IniEncoding::Utf16Be};
    } else {
        decoded = {std::string(bytes), IniEncoding::Bytes};
    }
    // The first line's end stands for the file's.
    const std::size_t end = decoded.text.find_first_of("\r\n");
    if (end != std::string::npos && decoded.text[end] == '\n') decoded.lineEnd = "\n";
    return decoded;
}

std::string EncodeIni(std::string_view text, IniEncoding encoding) {
    switch (encoding) {
        case IniEncoding::Utf8WithMark:
            return std::string(kUtf8Mark) + std::string(text);
        case IniEncoding::Utf16Le:
            return std::string(kUtf16LeMark) + Utf8ToUtf16(text, Utf16Order::Little);
        case IniEncoding::Utf16Be:
            return std::string(kUtf16BeMark) + Utf8ToUtf16(text, Utf16Order::Big);
        case IniEncoding::Bytes:
            break;
    }
    return std::string(text);
}

IniDocument::IniDocument(std::string_view bytes) {
    const IniText decoded = DecodeIni(bytes);
    encoding_ = decoded.encoding;
    lineEnd_ = decoded.lineEnd;
    ForEachLine(decoded.text, [this](std::string_view line) { AddLine(line); });
}

IniDocument::IniDocument(std::string_view text, IniEncoding encoding, std::string_view lineEnd)
    : encoding_(encoding), lineEnd_(lineEnd) {
    ForEachLine(text, [this](std::string_view line) { AddLine(line); });
}

void IniDocument::AddLine(std::string_view line) {
    if (const auto name = IniHeaderName(line)) {
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
    if (ParseIniKeyLine(line)) section.keyEnd = section.lines.size();
}

IniDocument::Section* IniDocument::FindSection(std::string_view section) {
    if (section.empty()) return nullptr;
    const auto it = index_.find(ToUpper(section));
    return it == index_.end() ? nullptr : &sections_[it->second.first];
}

std::size_t IniDocument::FindKey(Section& section, std::string_view key) {
    if (key.empty()) return kNoLine;
    if (!section.keyIndex && section.lines.size() > kKeyIndexThreshold) {
        section.keyIndex = std::make_unique<std::unordered_map<std::string, std::size_t>>();
        for (std::size_t i = 0; i < section.keyEnd; ++i) {
            const auto parsed = ParseIniKeyLine(section.lines[i]);
            if (parsed && !parsed->key.empty())
                section.keyIndex->try_emplace(ToUpper(parsed->key), i);
        }
    }
    if (section.keyIndex) {
        const auto it = section.keyIndex->find(ToUpper(key));
        return it == section.keyIndex->end() ? kNoLine : it->second;
    }
    for (std::size_t i = 0; i < section.keyEnd; ++i) {
        const auto parsed = ParseIniKeyLine(section.lines[i]);
        if (parsed && EqualsNoCase(parsed->key, key)) return i;
    }
    return kNoLine;
}

std::string IniDocument::Read(std::string_view section, std::string_view key) {
    Section* found = FindSection(section);
    if (found == nullptr) return {};
    const std::size_t line = FindKey(*found, key);
    if (line == kNoLine) return {};
    return ValueOf(ParseIniKeyLine(found->lines[line])->value);
}

std::vector<IniKeyLine> IniDocument::KeyLines(std::string_view section) {
    std::vector<IniKeyLine> lines;
    Section* found = FindSection(section);
    if (found == nullptr) return lines;
    for (std::size_t i = 0; i < found->keyEnd; ++i) {
        const auto parsed = ParseIniKeyLine(found->lines[i]);
        if (parsed && FindKey(*found, parsed->key) == i) lines.push_back(*parsed);
    }
    return lines;
}

bool IniDocument::Write(std::string_view section, std::string_view key, std::string_view value) {
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
    if (line != kNoLine) {
        // The key keeps its spelling in the file.
        std::string replaced = std::string(ParseIniKeyLine(found->lines[line])->key) + "=";
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

bool IniDocument::DeleteSection(std::string_view section) {
    if (section.empty()) return false;
    const auto it = index_.find(ToUpper(section));
    if (it == index_.end()) return false;
    Section& doomed = sections_[it->second.first];
    doomed.deleted = true;
    std::vector<std::string>().swap(doomed.lines);
    doomed.keyIndex.reset();
    if (doomed.nextSameName == kNoLine) {
        index_.erase(it);
    } else {
        it->second.first = doomed.nextSameName;
    }
    return true;
}

std::string IniDocument::Serialise() const {
    std::size_t size = 0;
    for (const auto& line : preamble_)
        size += line.size() + lineEnd_.size();
    for (const auto& section : sections_) {
        if (section.deleted) continue;
        size += section.header.size() + lineEnd_.size();
        for (const auto& line : section.lines)
            size += line.size() + lineEnd_.size();
    }
    std::string text;
    text.reserve(size);
    auto put = [this, &text](const std::string& line) {
        text += line;
        text += lineEnd_;
    };
    for (const auto& line : preamble_)
        put(line);
    for (const auto& section : sections_) {
        if (section.deleted) continue;
        put(section.header);
        for (const auto& line : section.lines)
            put(line);
    }
    return encoding_ == IniEncoding::Bytes ? text : EncodeIni(text, encoding_);
}

}  // namespace pagelark
