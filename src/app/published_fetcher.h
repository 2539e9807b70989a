#pragma once
// The network side of a presentation published on a web server: it fetches on the schedule
// with the request the rules give, follows the redirects they allow, stops reading at the size
// limit, gives up on an answer not whole by its deadline, and offers each new version through
// the player's port. The rules are Publication's.

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <chrono>
#include <functional>

#include "publish/http_rules.h"

class QNetworkReply;

namespace pagelark {

class Publication;
class PresentationUpdates;
class RefreshSchedule;

// A server that trickles its answer must not hold back every later refresh.
inline constexpr std::chrono::milliseconds kFetchDeadline{60000};

class PublishedFetcher final : public QObject {
  public:
    // deadline: for the whole answer, redirects included; past it the fetch is abandoned,
    // said as a refusal, and the next is due at the next refresh.
    PublishedFetcher(Publication& publication, RefreshSchedule& schedule,
                     PresentationUpdates& updates, std::function<void()> answered = {},
                     std::chrono::milliseconds deadline = kFetchDeadline);
    ~PublishedFetcher() override;

    // The first fetch goes out at once, and each answer is taken before the next is due.
    void Start();

  private:
    void Fetch();
    void Ask(const QUrl& address);
    void Read();
    void Finished();

    Publication& publication_;
    RefreshSchedule& schedule_;
    PresentationUpdates& updates_;
    // Told after each answer was taken or refused.
    std::function<void()> answered_;
    QNetworkAccessManager manager_;
    QTimer timer_;
    QTimer deadline_;
    bool late_ = false;
    QPointer<QNetworkReply> reply_;
    HttpAnswer answer_;
};

}  // namespace pagelark
