#include "core/own_pages.h"

namespace pagelark {
namespace {

std::string Unescaped(std::string_view address) {
    const auto hex = [](char c) {
        return c >= '0' && c <= '9'   ? c - '0'
               : c >= 'a' && c <= 'f' ? c - 'a' + 10
               : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                      : -1;
    };
    std::string plain;
    for (std::size_t i = 0; i < address.size(); ++i) {
        if (address[i] == '%' && i + 2 < address.size() && hex(address[i + 1]) >= 0 &&
            hex(address[i + 2]) >= 0) {
            plain += static_cast<char>(hex(address[i + 1]) * 16 + hex(address[i + 2]));
            i += 2;
        } else {
            plain += address[i];
        }
    }
    return plain;
}

// Marks the offline page whatever its reason; its colour is the page's own, as in its body.
constexpr std::string_view kOfflineHead =
    "<!DOCTYPE html><html data-pagelark=\"offline\" style=\"background:#1f3040;height:100%\">";

}  // namespace

std::string HtmlEscaped(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            case '\'':
                escaped += "&#39;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

namespace {

std::string PercentEncoded(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') || c == '-' || c == '_' || c == '.' ||
                           c == '~';
        if (plain) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0xF];
        }
    }
    return encoded;
}

constexpr std::string_view kDataHtml = "data:text/html;charset=utf-8,";

}  // namespace

bool IsBlackPage(std::string_view address) {
    return address.starts_with("data:") && Unescaped(address) == Unescaped(kBlackPage);
}

namespace {

// The offline page around its reason, whose text holds no markup once escaped.
constexpr std::string_view kOfflineBody =
    "<head><meta charset=\"utf-8\"><title>Back soon</title></head>"
    // Above the middle: a screen's centre stays the page's colour, for a camera too.
    "<body style=\"margin:0;height:100%;box-sizing:border-box;padding-bottom:20vh;"
    "display:flex;flex-direction:column;align-items:center;justify-content:center;"
    "font-family:sans-serif;color:#dde6ee\">"
    "<p style=\"font-size:4vw;margin:0\">The show will be back shortly.</p>";
constexpr std::string_view kReasonStart = "<p style=\"font-size:1.5vw;opacity:.75\">";
constexpr std::string_view kReasonEnd = "</p>";
constexpr std::string_view kOfflineEnd = "</body></html>";

}  // namespace

std::string OwnOfflinePage(std::string_view why) {
    std::string html = std::string(kOfflineHead) + std::string(kOfflineBody);
    if (!why.empty())
        html += std::string(kReasonStart) + HtmlEscaped(why) + std::string(kReasonEnd);
    html += kOfflineEnd;
    return std::string(kDataHtml) + PercentEncoded(html);
}

namespace {

// A path of kilobytes would push the reason and the advice off the screen: its start and end
// tell which it is.
std::string MiddleClipped(std::string_view text) {
    constexpr std::size_t kKept = 160;
    if (text.size() <= 3 * kKept) return std::string(text);
    // Cut between characters, never inside one's UTF-8 bytes.
    const auto inside = [&](std::size_t at) {
        return (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
    };
    std::size_t head = kKept, tail = text.size() - kKept;
    while (head > 0 && inside(head))
        --head;
    while (tail < text.size() && inside(tail))
        ++tail;
    return std::string(text.substr(0, head)) + "\xE2\x80\xA6" + std::string(text.substr(tail));
}

}  // namespace

std::string OwnProblemPage(std::string_view what, std::string_view why, std::string_view todo) {
    const auto line = [](std::string_view style, std::string_view text) {
        return "<p style=\"" + std::string(style) + "\">" + HtmlEscaped(MiddleClipped(text)) +
               "</p>";
    };
    const std::string html =
        "<!DOCTYPE html><html data-pagelark=\"problem\" style=\"background:#5a1e1e;height:100%\">"
        "<head><meta charset=\"utf-8\"><title>The presentation cannot be played</title></head>"
        // From the top: the screen's centre stays the page's colour.
        "<body style=\"margin:0;height:100%;box-sizing:border-box;padding:8vh 8vw 0;"
        "display:flex;flex-direction:column;align-items:center;"
        "font-family:sans-serif;color:#f3e6e6;text-align:center\">" +
        line("font-size:3vw;margin:0", "The presentation cannot be played") +
        line("font-size:1.6vw;font-family:monospace;word-break:break-all", what) +
        line("font-size:1.6vw", why) + line("font-size:1.3vw;opacity:.8", todo) + "</body></html>";
    return std::string(kDataHtml) + PercentEncoded(html);
}

bool IsOwnOfflinePage(std::string_view address) {
    // Only a page this program could have made: a visitor typing one of their own that starts
    // the same way must meet the lists as any address does.
    if (!address.starts_with("data:")) return false;
    const std::string plain = Unescaped(address);
    const std::string head =
        std::string(kDataHtml) + std::string(kOfflineHead) + std::string(kOfflineBody);
    if (!plain.starts_with(head) || !plain.ends_with(kOfflineEnd)) return false;
    std::string_view reason = std::string_view(plain).substr(head.size());
    reason.remove_suffix(kOfflineEnd.size());
    if (reason.empty()) return true;
    if (!reason.starts_with(kReasonStart) || !reason.ends_with(kReasonEnd)) return false;
    reason =
        reason.substr(kReasonStart.size(), reason.size() - kReasonStart.size() - kReasonEnd.size());
    return reason.find_first_of("<>\"") == std::string_view::npos;
}

}  // namespace pagelark
