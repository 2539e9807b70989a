#include "publish/publication.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "ini/ini_store.h"
#include "model/product.h"
#include "platform/file_io.h"
#include "platform/files.h"
#include "platform/log.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "settings/managed.h"
#include "settings/settings.h"
#include "storage/presentation_file.h"

namespace pagelark {
namespace {

constexpr std::string_view kEtag = "ETag: ";
constexpr std::string_view kLastModified = "Last-Modified: ";
constexpr std::string_view kRefresh = "RefreshMinutes";

// FNV-1a: the same folder for the same address in every run and every build.
std::string AddressHash(std::string_view address) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : address) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

// Windows takes these, with any extension and in any case, for devices.
bool IsDeviceName(std::string_view name) {
    const std::string_view base = name.substr(0, name.find('.'));
    for (const std::string_view device : {"con", "prn", "aux", "nul"})
        if (EqualsNoCase(base, device)) return true;
    return base.size() == 4 &&
           (EqualsNoCase(base.substr(0, 3), "com") || EqualsNoCase(base.substr(0, 3), "lpt")) &&
           base[3] >= '1' && base[3] <= '9';
}

// One rule on every system, so that a cache folder names the same copy wherever it is read.
std::string CopyName(std::string_view address) {
    address = address.substr(0, address.find_first_of("?#"));
    const auto scheme = address.find("://");
    const auto path = address.find('/', scheme == std::string_view::npos ? 0 : scheme + 3);
    std::string name(path == std::string_view::npos ? "" : address.substr(address.rfind('/') + 1));
    for (char& c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
        if (!plain) c = '_';
    }
    if (name.empty() || name.front() == '.') name = "published" + name;
    if (IsDeviceName(name)) name.insert(0, "_");
    if (!EqualsNoCase(GetExtension(name), "tso")) name += ".tso";
    return name;
}

Validators ReadValidators(const std::string& file) {
    Validators validators;
    const ReadResult read = ReadWholeFile(file);
    std::size_t start = 0;
    while (read.status == ReadStatus::Ok && start < read.data.size()) {
        const std::size_t end = std::min(read.data.find('\n', start), read.data.size());
        const std::string_view line = std::string_view(read.data).substr(start, end - start);
        if (line.starts_with(kEtag)) validators.etag = line.substr(kEtag.size());
        if (line.starts_with(kLastModified))
            validators.lastModified = line.substr(kLastModified.size());
        start = end + 1;
    }
    return validators;
}

// Why a presentation as loaded is no version to play; "" when it is.
std::string Unusable(const Presentation& presentation, const Document& document) {
    if (!document.LoadProblem.empty()) return document.LoadProblem;
    return presentation.Pages.empty() ? "holds no pages" : "";
}

}  // namespace

std::vector<std::string> LeaveOutLocalAddresses(Presentation& presentation) {
    std::vector<std::string> leftOut;
    const auto local = [&](const std::string& entry, const char* what) {
        if (IsPublishedAddress(entry)) return false;
        leftOut.push_back(std::string(what) + " " + entry +
                          " left out: a presentation from a web server shows web addresses only");
        return true;
    };
    std::erase_if(presentation.Pages,
                  [&](const PresentationPage& page) { return local(page.URL, "the page"); });
    if (presentation.HomeURL != "about:blank" && local(presentation.HomeURL, "the home page"))
        presentation.HomeURL = "about:blank";
    const bool restricted = !presentation.Include.empty();
    std::erase_if(presentation.Include,
                  [&](const std::string& entry) { return local(entry, "the include entry"); });
    // An empty list would let a visitor go anywhere: it names the blank page alone instead.
    if (restricted && presentation.Include.empty())
        presentation.Include.emplace_back("about:blank");
    return leftOut;
}

std::string PublishedCacheFolder(const char* xdgCacheHome, const char* home) {
    // A relative XDG folder is to be ignored.
    if (xdgCacheHome != nullptr && IsAbsolutePath(xdgCacheHome))
        return WithTrailingSeparator(xdgCacheHome) + "pagelark";
    return WithTrailingSeparator(home != nullptr ? home : "") + ".cache/pagelark";
}

std::string PublishedCopyPath(const std::string& cacheFolder, const std::string& address) {
    return WithTrailingSeparator(cacheFolder) + AddressHash(address) + "/" + CopyName(address);
}

void MarkPublished(Document& document, const std::string& address) {
    document.LoadProblem = "is the copy of a presentation published at " + address +
                           ", replaced when that changes; save it with Save As to keep "
                           "a copy of your own";
    document.LoadProblemIsNote = true;
    document.IsDefaultFile = false;
}

Publication::Publication(std::string address, const std::string& cacheFolder,
                         DocumentContext& context, std::string helpFolder)
    : address_(std::move(address)),
      copy_(PublishedCopyPath(cacheFolder, address_)),
      validatorsFile_(copy_ + ".validators"),
      incoming_(copy_ + ".incoming"),
      context_(context),
      helpFolder_(std::move(helpFolder)) {
    for (const std::string& file : {copy_, validatorsFile_, incoming_})
        RemoveLeftoverReplacements(file);
    RemoveFile(incoming_);
    // Without a copy to play its validators would have the server answer 304 to a screen with
    // nothing.
    if (!FileExists(copy_)) return;
    Presentation kept;
    Document keptFile;
    LoadPresentation(kept, keptFile, context_, copy_);
    if (const std::string problem = Unusable(kept, keptFile); !problem.empty()) {
        Warn(LogArea::Document, "the copy kept of ", address_, " ", problem,
             ": it is fetched whole");
        return;
    }
    validators_ = ReadValidators(validatorsFile_);
    TakeRefresh(copy_);
}

std::chrono::milliseconds Publication::RefreshPeriod() const {
    const std::string* managed = context_.settings.Managed().Find(kRefresh);
    std::string text = managed != nullptr ? *managed : context_.settings.ReadStoreSetting(kRefresh);
    if (text.empty()) text = versionRefresh_;
    return std::chrono::duration_cast<std::chrono::milliseconds>(ParseRefreshMinutes(text));
}

std::optional<Show> Publication::Take(const HttpAnswer& answer) {
    const Verdict verdict = Judge(answer);
    if (verdict.kind == Verdict::Kind::Refused) {
        Refuse(verdict.reason);
        return std::nullopt;
    }
    if (verdict.kind == Verdict::Kind::Unchanged) {
        Log(LogArea::Document, address_, " not modified");
        lastRefusal_.clear();
        return std::nullopt;
    }
    // A server without validators sends the same file every time: nothing new to show.
    const ReadResult kept = ReadWholeFile(copy_, kMaxPublishedBytes);
    if ((kept.status == ReadStatus::Ok && kept.data == answer.body) || unkept_ == answer.body) {
        Log(LogArea::Document, address_, " unchanged");
        KeepValidators(answer.validators);
        lastRefusal_.clear();
        return std::nullopt;
    }
    if (answer.body.find_first_not_of(" \t\r\n") == std::string::npos) {
        Refuse("empty");
        return std::nullopt;
    }
    // Parsed from a file beside the copy, which it replaces only once it proved good.
    if (const int made = MakeFolder(FolderPart(copy_), 0700); made != 0) {
        Refuse("cannot be kept: " + ErrorReason(made));
        return std::nullopt;
    }
    if (const Result<> written = ReplaceFileAtomically(incoming_, answer.body); !written) {
        Refuse("cannot be kept: " + written.Error());
        return std::nullopt;
    }
    Show show{{}, context_.machine, context_.buttons, {}};
    Presentation& presentation = show.presentation;
    LoadPresentation(presentation, show.document, context_, incoming_);
    const std::vector<std::string> leftOut = LeaveOutLocalAddresses(presentation);
    // A show of no pages is a mistake on the server, not a show to put on every screen.
    const std::string problem = Unusable(presentation, show.document);
    if (problem.empty()) TakeRefresh(incoming_);
    (void)context_.settings.IniFiles().FlushIniCache(incoming_);  // a large file is not held twice
    if (!problem.empty()) {
        RemoveFile(incoming_);
        Refuse(leftOut.empty() ? problem : "holds no web pages, only local ones");
        return std::nullopt;
    }
    for (const std::string& line : leftOut)
        Warn(LogArea::Document, address_, ": ", line);
    // A good version plays even where it cannot be kept. Replacing the copy before: C's
    // rename refuses an existing file on Windows.
    if (const int failure = RenameFile(incoming_, copy_); failure == 0) {
        unkept_.reset();
    } else {
        Warn(LogArea::Document, address_, " cannot be kept as ", copy_, ": ", ErrorReason(failure),
             "; the new version plays all the same");
        RemoveFile(incoming_);
        RemoveFile(validatorsFile_);
        unkept_ = answer.body;
    }
    KeepValidators(answer.validators);
    // Managed values win over every version as over the copy at start; the machine's own were
    // taken then.
    context_.settings.Managed().Apply(presentation, show.machine, 0.0);
    show.document.CurrentFile = copy_;
    MarkPublished(show.document, address_);
    RelocateHelpPages(presentation, helpFolder_);
    lastRefusal_.clear();
    Log(LogArea::Document, address_, " changed: ", presentation.Pages.size(), " pages");
    return show;
}

void Publication::Refuse(const std::string& reason) {
    if (reason == lastRefusal_) {
        Log(LogArea::Document, address_, " refused again: ", reason);
        return;
    }
    lastRefusal_ = reason;
    Warn(LogArea::Document, address_, " refused: ", reason, "; the show goes on as it was");
}

void Publication::TakeRefresh(const std::string& file) {
    versionRefresh_ = context_.settings.IniFiles().ReadString(kOptionsSection, kRefresh, file);
    if (!versionRefresh_.empty() && !ParseMinutes(versionRefresh_)) {
        Warn(LogArea::Document, address_, ": ", kRefresh, "=", versionRefresh_,
             " is no number of minutes and counts for nothing");
    }
}

void Publication::KeepValidators(const Validators& validators) {
    if (validators == validators_) return;
    validators_ = validators;
    // While the version on show has no copy, they are held here alone: beside a copy of another
    // version they would have the server keep that one for ever.
    if (unkept_) return;
    std::string text;
    if (!validators.etag.empty()) text += std::string(kEtag) + validators.etag + "\n";
    if (!validators.lastModified.empty())
        text += std::string(kLastModified) + validators.lastModified + "\n";
    // Written after the copy: validators newer than the copy would keep an old copy for ever.
    if (const Result<> kept = ReplaceFileAtomically(validatorsFile_, text); !kept)
        Warn(LogArea::Document, "cannot keep ", validatorsFile_, ": ", kept.Error());
}

}  // namespace pagelark
