#include "publish/http_rules.h"

#include "platform/result.h"
#include "platform/text.h"

namespace pagelark {
namespace {

bool IsHttps(std::string_view address) {
    return StartsWithNoCase(address, "https://");
}

// Whether the redirect from one address to the next is followed, and why not.
Result<> Hop(std::string_view from, std::string_view to) {
    if (!IsPublishedAddress(to))
        return Fail("redirected to " + std::string(to) + ", no web address");
    if (IsHttps(from) && !IsHttps(to))
        return Fail("redirected from https to http: " + std::string(to));
    return Done();
}

}  // namespace

bool IsPublishedAddress(std::string_view address) {
    return StartsWithNoCase(address, "http://") || IsHttps(address);
}

std::string ExpandAddress(std::string_view address, std::string_view host,
                          std::string_view machineId) {
    std::string expanded;
    for (std::size_t i = 0; i < address.size(); ++i) {
        const char next = i + 1 < address.size() ? address[i + 1] : '\0';
        if (address[i] == '%' && (next == 'h' || next == 'm')) {
            expanded += next == 'h' ? host : machineId;
            ++i;
        } else {
            expanded += address[i];
        }
    }
    return expanded;
}

std::vector<HttpHeader> ConditionalHeaders(const Validators& validators) {
    std::vector<HttpHeader> headers;
    if (!validators.etag.empty()) headers.emplace_back("If-None-Match", validators.etag);
    if (!validators.lastModified.empty())
        headers.emplace_back("If-Modified-Since", validators.lastModified);
    return headers;
}

bool MayFollow(const std::vector<std::string>& chain) {
    if (chain.size() < 2) return true;
    return chain.size() <= kMaxRedirects + 1 && Hop(chain[chain.size() - 2], chain.back()).Ok();
}

Verdict Judge(const HttpAnswer& answer) {
    const auto refused = [](std::string reason) {
        return Verdict{Verdict::Kind::Refused, std::move(reason)};
    };
    const std::vector<std::string>& chain = answer.chain;
    for (std::size_t i = 1; i < chain.size(); ++i) {
        if (const Result<> hop = Hop(chain[i - 1], chain[i]); !hop) return refused(hop.Error());
    }
    if (chain.size() > kMaxRedirects + 1)
        return refused("redirected more than " + std::to_string(kMaxRedirects) + " times");
    if (answer.overLimit)
        return refused("larger than " + std::to_string(kMaxPublishedBytes >> 20) + " MiB");
    if (answer.status == 0) return refused("cannot be fetched: " + answer.error);
    if (answer.status == 304) return {Verdict::Kind::Unchanged, ""};
    if (answer.status != 200)
        return refused("answered with status " + std::to_string(answer.status));
    // A connection lost part way brings a piece of the file, which may well parse.
    if (answer.contentLength && answer.body.size() < *answer.contentLength) {
        return refused("cut short: " + std::to_string(answer.body.size()) + " of " +
                       std::to_string(*answer.contentLength) + " bytes");
    }
    if (!answer.error.empty()) return refused("cannot be fetched: " + answer.error);
    return {Verdict::Kind::Candidate, ""};
}

}  // namespace pagelark
