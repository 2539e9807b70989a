#include "regfile/reg_file.h"

#include <cstdint>

#include "platform/text.h"

namespace pagelark {
namespace {

constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";

// 1 to 8 hex digits; nothing otherwise.
std::optional<std::uint32_t> ParseHex32(std::string_view digits) {
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : digits) {
        const int d = HexDigitValue(c);
        if (d < 0) return std::nullopt;
        value = value * 16u + static_cast<std::uint32_t>(d);
    }
    return value;
}

std::string_view TrimRight(std::string_view text, std::string_view chars) {
    const auto last = text.find_last_not_of(chars);
    return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

std::string_view TrimLeft(std::string_view text, std::string_view chars) {
    const auto first = text.find_first_not_of(chars);
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

// A "..." text at text[pos] with \\ and \" escapes; any other backslash stands for itself.
// pos ends just past the closing quote.
bool ParseQuoted(std::string_view text, std::size_t& pos, std::string& out) {
    ++pos;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == '\\' && pos + 1 < text.size() && (text[pos + 1] == '\\' || text[pos + 1] == '"')) {
            out += text[pos + 1];
            pos += 2;
        } else if (c == '"') {
            ++pos;
            return true;
        } else {
            out += c;
            ++pos;
        }
    }
    return false;
}

// "01,ab, 2" -> bytes; one trailing comma is tolerated.
bool ParseHexList(std::string_view list, std::string& out) {
    list = TrimBlanksAndTabs(list);
    if (list.empty()) return true;
    std::size_t start = 0;
    while (start <= list.size()) {
        auto comma = list.find(',', start);
        if (comma == std::string_view::npos) comma = list.size();
        const auto item = TrimBlanksAndTabs(list.substr(start, comma - start));
        if (item.empty()) return comma == list.size() && start > 0;  // "01," but not ",01"
        const auto byte = item.size() <= 2 ? ParseHex32(item) : std::nullopt;
        if (!byte) return false;
        out += static_cast<char>(*byte);
        start = comma + 1;
    }
    return true;
}

class Parser {
  public:
    Parser(std::string_view text, bool version5) : text_(text), version5_(version5) {}

    RegParseResult Run() {
        std::string_view line;
        NextLine(line);  // the header, checked by the caller
        while (NextLine(line)) {
            const std::size_t first = lineNumber_;
            const std::size_t start = lineStart_;
            const auto s = TrimRight(TrimLeft(line, " \t"), " \t\r");
            if (s.empty()) continue;
            bool read = false;
            if (s[0] == ';') {
                Keep(text_.substr(start, pos_ - start));  // the owner's notes stay
                continue;
            }
            if (line.find('\0') != std::string_view::npos) {
                read = Error("NUL byte in the text");
            } else if (s[0] == '[') {
                read = KeyLine(s);
            } else if (s[0] == '"' || s[0] == '@') {
                read = ValueLine(s);
            } else {
                read = Error("neither a key nor a value");
            }
            if (!read) KeepUnread(first, text_.substr(start, pos_ - start));
        }
        RegParseResult result;
        result.ok = true;
        result.document = std::move(document_);
        result.unread = std::move(unread_);
        return result;
    }

  private:
    bool NextLine(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        auto end = text_.find('\n', pos_);
        if (end == std::string_view::npos) end = text_.size();
        lineStart_ = pos_;
        line = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        ++lineNumber_;
        return true;
    }

    bool Error(std::string reason) {
        reason_ = std::move(reason);
        return false;
    }

    void KeepUnread(std::size_t first, std::string_view lines) {
        unread_.push_back({first, std::move(reason_), Keep(lines)});
    }

    // Kept where it stood: under the last key read, else before the first key.
    std::string Keep(std::string_view lines) {
        std::vector<std::string_view> physical;
        for (std::size_t at = 0; at < lines.size();) {
            auto end = lines.find('\n', at);
            if (end == std::string_view::npos) end = lines.size();
            auto one = lines.substr(at, end - at);
            if (one.ends_with('\r')) one.remove_suffix(1);
            physical.push_back(one);
            at = end + 1;
        }
        // A continuation that ran into a blank line ended there; the writer ends it again.
        while (physical.size() > 1 && TrimRight(physical.back(), " \t\r").empty())
            physical.pop_back();
        std::string kept(physical.front());
        for (std::size_t i = 1; i < physical.size(); ++i)
            kept.append("\r\n").append(physical[i]);
        if (tail_ != nullptr) {
            tail_->KeepUnread(kept);
        } else {
            document_.KeepUnread(kept);
        }
        return kept;
    }

    bool KeyLine(std::string_view s) {
        // Until the next key line, values have no key to go to.
        current_ = nullptr;
        inRemovedKey_ = false;
        keyUnread_ = true;
        if (s.size() < 2 || s.back() != ']') return Error("key line without a closing bracket");
        auto path = s.substr(1, s.size() - 2);
        const bool remove = !path.empty() && path[0] == '-';
        if (remove) path.remove_prefix(1);
        if (RegDocument::NormalPath(path).empty()) return Error("key without a name");
        keyUnread_ = false;
        if (remove) {
            document_.RemoveTree(path);
            tail_ = nullptr;
            inRemovedKey_ = true;
        } else {
            current_ = tail_ = &document_.Add(path);
        }
        return true;
    }

    bool ValueLine(std::string_view s) {
        std::string name;
        std::size_t pos = 0;
        if (s[0] == '@') {
            pos = 1;
        } else if (!ParseQuoted(s, pos, name)) {
            return Error("value name without a closing quote");
        }
        auto rest = TrimLeft(s.substr(pos), " \t");
        if (rest.empty() || rest[0] != '=') return Error("value name not followed by '='");
        rest = TrimLeft(rest.substr(1), " \t");

        bool remove = false;
        RegValue value;
        if (rest.empty()) return Error("value without data");
        if (rest == "-") {
            remove = true;
        } else if (rest[0] == '"') {
            std::size_t end = 0;
            value.type = RegType::String;
            if (!ParseQuoted(rest, end, value.data)) return Error("text without a closing quote");
            if (!TrimLeft(rest.substr(end), " \t").empty()) return Error("text after the value");
        } else if (StartsWithNoCase(rest, "dword:")) {
            const auto number = ParseHex32(TrimBlanksAndTabs(rest.substr(6)));
            if (!number) return Error("dword needs 1 to 8 hex digits");
            value.type = RegType::Dword;
            for (int i = 0; i < 4; ++i)
                value.data += static_cast<char>((*number >> (8 * i)) & 0xFF);
        } else if (StartsWithNoCase(rest, "hex")) {
            if (!HexValue(rest.substr(3), value)) return false;
        } else {
            return Error("data that is no \"text\", dword or hex");
        }

        if (current_ == nullptr) {
            if (inRemovedKey_) return true;  // values of a key being deleted are dropped
            return Error(keyUnread_ ? "value of a key line that could not be read"
                                    : "value before the first key");
        }
        if (remove) {
            current_->Remove(name);
        } else {
            current_->Set(name, std::move(value));
        }
        return true;
    }

    // After "hex": "(N)" optionally, ':' and the byte list, continued on the following
    // lines while a line ends with a backslash.
    bool HexValue(std::string_view rest, RegValue& value) {
        value.type = RegType::Binary;
        if (!rest.empty() && rest[0] == '(') {
            const auto close = rest.find(')');
            const auto type = close == std::string_view::npos
                                  ? std::nullopt
                                  : ParseHex32(rest.substr(1, close - 1));
            if (!type) return Error("hex( ) needs a type of 1 to 8 hex digits");
            value.type = static_cast<RegType>(*type);
            rest.remove_prefix(close + 1);
        }
        if (rest.empty() || rest[0] != ':') return Error("hex value without ':'");
        std::string list(rest.substr(1));
        std::string_view next;
        for (;;) {
            const auto kept = TrimRight(list, " \t").size();
            if (kept == 0 || list[kept - 1] != '\\') break;
            list.resize(kept - 1);
            if (!NextLine(next)) break;
            if (next.find('\0') != std::string_view::npos) return Error("NUL byte in the text");
            const auto piece = TrimRight(TrimLeft(next, " \t"), " \t\r");
            // A blank line ends the value, as the writer ends one that ran on.
            if (piece.empty()) break;
            list += piece;
        }
        std::string bytes;
        if (!ParseHexList(list, bytes)) return Error("malformed hex bytes");
        const bool text = value.type == RegType::String || value.type == RegType::ExpandString ||
                          value.type == RegType::MultiString;
        if (version5_ && text) {
            // Lenient for value data: a stray byte must not cost the whole file.
            value.data = *Utf16ToUtf8(bytes, Utf16Order::Little, false);
        } else {
            value.data = std::move(bytes);
        }
        // Our REG_SZ data carries no terminating zero; the hex form does.
        if (value.type == RegType::String && !value.data.empty() && value.data.back() == '\0') {
            value.data.pop_back();
        }
        return true;
    }

    std::string_view text_;
    bool version5_;
    std::size_t pos_ = 0;
    std::size_t lineStart_ = 0;
    std::size_t lineNumber_ = 0;
    std::string reason_;
    RegDocument document_;
    std::vector<RegUnreadLine> unread_;
    RegKey* current_ = nullptr;  // where values go
    RegKey* tail_ = nullptr;     // where unread lines go; nullptr: before the first key
    bool inRemovedKey_ = false;
    bool keyUnread_ = false;
};

// A file read as no registry file at all, with every line it holds.
RegParseResult NotRead(std::string_view text, std::size_t line, std::string reason) {
    RegParseResult result;
    result.line = line;
    result.reason = std::move(reason);
    std::size_t number = 0;
    for (std::size_t at = 0; at < text.size(); ++number) {
        auto end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        const auto s = TrimRight(TrimLeft(text.substr(at, end - at), " \t"), " \t\r");
        at = end + 1;
        if (!s.empty() && s[0] != ';')
            result.unread.push_back({number + 1, result.reason, std::string(s)});
    }
    return result;
}

}  // namespace

RegParseResult ParseRegFile(std::string_view bytes) {
    std::string decoded;
    std::string_view text = bytes;
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        // Strict for the text of a file: a broken file is refused, not half read.
        auto utf8 = Utf16ToUtf8(bytes.substr(2), Utf16Order::Little, true);
        if (!utf8) {
            return NotRead(*Utf16ToUtf8(bytes.substr(2), Utf16Order::Little, false), 0,
                           "not valid UTF-16 text");
        }
        decoded = std::move(*utf8);
        text = decoded;
    } else if (bytes.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    if (TrimLeft(text, " \t\r\n").empty()) {
        RegParseResult result;
        result.ok = true;
        return result;
    }
    const auto header = TrimRight(text.substr(0, text.find('\n')), " \t\r");
    bool version5 = false;
    if (header == kHeader5) {
        version5 = true;
    } else if (header != kRegHeader4) {
        return NotRead(text, 1, "not a registry file (unknown first line)");
    }
    return Parser(text, version5).Run();
}

}  // namespace pagelark
