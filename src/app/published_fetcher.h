#pragma once
// The network side of a presentation published on a web server: it fetches on the schedule
// with the request the rules give, follows the redirects they allow, stops reading at the size
// limit, and offers each new version through the player's port. The rules are Publication's.

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include "publish/http_rules.h"

class QNetworkReply;

namespace pagelark {

class Publication;
class PresentationUpdates;
class RefreshSchedule;

class PublishedFetcher final : public QObject {
  public:
    PublishedFetcher(Publication& publication, RefreshSchedule& schedule,
                     PresentationUpdates& updates);
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
    QNetworkAccessManager manager_;
    QTimer timer_;
    QPointer<QNetworkReply> reply_;
    HttpAnswer answer_;
};

}  // namespace pagelark
