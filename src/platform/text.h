#pragma once
// Byte-string helpers every layer uses: trimming, ASCII case folding, UTF-8 encoding, JSON
// string literals.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pagelark {

std::string_view TrimBlanks(std::string_view text);         // spaces only
std::string_view TrimBlanksAndTabs(std::string_view text);  // spaces and tabs
char UpperAscii(char c);                                    // ASCII letters only
std::string ToUpper(std::string_view text);                 // ASCII letters only
std::string ToLower(std::string_view text);                 // ASCII letters only
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// Appends one code point encoded as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);  // cp: a Unicode code point

enum class Utf16Order { Little, Big };
// UTF-16 bytes as UTF-8. Strict: nullopt on an odd byte count or an unpaired surrogate;
// lenient: each of those becomes U+FFFD.
std::optional<std::string> Utf16ToUtf8(std::string_view bytes, Utf16Order order, bool strict);
// UTF-8 text as UTF-16 bytes; a byte that is not part of valid UTF-8 stands for itself.
std::string Utf8ToUtf16(std::string_view text, Utf16Order order);

// The value of a hexadecimal digit in either case; -1 for any other character.
int HexDigitValue(char c);

// Length of the well-formed UTF-8 sequence at the start of text, 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view text);
bool IsUtf8(std::string_view text);
// Stored text as UTF-8: valid UTF-8 sequences pass, any other byte is read as Windows-1252.
std::string StoredTextToUtf8(std::string_view bytes);
// A JSON string literal of stored text.
std::string JsonString(std::string_view bytes);

// Cuts text at its first zero byte, as C strings handed over by the system are cut.
std::string CutAtNul(std::string_view text);

// Whether text names word (ASCII letters): in any case, not inside a longer name, as ASCII or
// as UTF-16 of either byte order, so that a file that cannot be read may still be known to
// name a setting. A word counts from byte from on (the text before shows what stands beside
// it); more: text goes on past its end, where a word may not end yet.
bool NamesWord(std::string_view text, std::string_view word, std::size_t from = 0,
               bool more = false);

}  // namespace pagelark
