#pragma once
// What a fetch of a published presentation asks for and what its answer must be to be taken:
// the address with the screen's own names in it, the conditional request, the redirects that
// may be followed and the answers refused. Nothing here touches the network.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pagelark {

// No published presentation is larger; reading stops there.
inline constexpr std::size_t kMaxPublishedBytes = std::size_t{4} << 20;
inline constexpr std::size_t kMaxRedirects = 5;

// An http:// or https:// address, in any case.
bool IsPublishedAddress(std::string_view address);

// %h becomes the host name and %m the machine id, so one server can hand each screen its own
// file.
std::string ExpandAddress(std::string_view address, std::string_view host,
                          std::string_view machineId);

// Of the last answer taken.
struct Validators {
    std::string etag;
    std::string lastModified;
    friend bool operator==(const Validators&, const Validators&) = default;
};

using HttpHeader = std::pair<std::string, std::string>;

// If-None-Match and If-Modified-Since, each when there is a validator for it.
std::vector<HttpHeader> ConditionalHeaders(const Validators& validators);

// What one fetch brought back, its redirects followed while MayFollow allowed them.
struct HttpAnswer {
    std::vector<std::string> chain;  // the addresses asked in turn, the published one first
    int status = 0;                  // the last one's; 0 when none answered
    std::string error;               // why none answered, or why the answer broke off
    bool overLimit = false;          // reading stopped at kMaxPublishedBytes
    std::string body;
    Validators validators;
    std::optional<std::size_t> contentLength;  // the body's size as announced, when it was
};

// Whether to ask the chain's last address, the target of the one before: a web address, never
// from https down to http, and only so many redirects.
bool MayFollow(const std::vector<std::string>& chain);

struct Verdict {
    enum class Kind { Unchanged, Refused, Candidate };
    Kind kind = Kind::Refused;
    std::string reason;  // of a refusal
};

// A 304 is Unchanged; a 200 within the size, reached by redirects MayFollow allows and read
// whole (no error, nothing short of its announced length) is a Candidate, taken once it
// parses; anything else is refused.
Verdict Judge(const HttpAnswer& answer);

}  // namespace pagelark
