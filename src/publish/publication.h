#pragma once
// A presentation published on a web server as this screen keeps it: the last good copy in
// the cache folder with the validators of its answer beside it, and the answers that replace
// it once they are fetched whole and parse.

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "model/presentation.h"
#include "publish/http_rules.h"
#include "storage/show.h"

namespace pagelark {

struct DocumentContext;

// $XDG_CACHE_HOME/pagelark, else ~/.cache/pagelark; either may be null.
std::string PublishedCacheFolder(const char* xdgCacheHome, const char* home);

// The copy of address: in a folder of its own named after the whole address, under the
// address's file name, which Save As then offers.
std::string PublishedCopyPath(const std::string& cacheFolder, const std::string& address);

// The operator is told where the presentation comes from, and it is saved only under a name
// of the operator's choosing (never over the copy, nor as the machine's default).
void MarkPublished(Document& document, const std::string& address);

// A presentation from a web server shows nothing of the machine's own: its pages, home page
// (about:blank aside) and include entries that are not web addresses are left out. A line for
// each says what was left out.
std::vector<std::string> LeaveOutLocalAddresses(Presentation& presentation);

class Publication {
  public:
    // address: expanded. The copy's help pages are moved to helpFolder ("": none of ours).
    Publication(std::string address, const std::string& cacheFolder, DocumentContext& context,
                std::string helpFolder);

    const std::string& Address() const { return address_; }
    const std::string& CopyPath() const { return copy_; }
    std::vector<HttpHeader> RequestHeaders() const { return ConditionalHeaders(validators_); }
    // The last good copy's tag, or its modification time when the server gives no tag.
    const std::string& Version() const {
        return validators_.etag.empty() ? validators_.lastModified : validators_.etag;
    }
    // The new version an answer brings, parsed whole and kept as the copy, with the settings in
    // force; none when it is unchanged, the same bytes again, or refused (said in a log line).
    std::optional<Show> Take(const HttpAnswer& answer);
    // How often to fetch, as things stand: RefreshMinutes of a managed file, else of the
    // settings store, else of the version last taken (the copy, at start).
    std::chrono::milliseconds RefreshPeriod() const;
    // Why the last answer was refused, until one is taken; "" when none was.
    const std::string& LastRefusal() const { return lastRefusal_; }

  private:
    void Refuse(const std::string& reason);
    void KeepValidators(const Validators& validators);
    // Takes the RefreshMinutes of the version in file, with a warning when it is no number.
    void TakeRefresh(const std::string& file);

    std::string address_;
    std::string copy_;
    std::string validatorsFile_;
    std::string incoming_;
    DocumentContext& context_;
    std::string helpFolder_;
    Validators validators_;
    std::string versionRefresh_;  // the RefreshMinutes text of the version last taken
    // The version last taken while no copy of it could be kept: it is not new when it comes
    // again.
    std::optional<std::string> unkept_;
    // A refusal is warned of once until something else happens: a server down for a day
    // must not fill the journal.
    std::string lastRefusal_;
};

}  // namespace pagelark
