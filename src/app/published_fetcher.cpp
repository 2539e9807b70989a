#include "app/published_fetcher.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <algorithm>

#include "core/ports/presentation_updates.h"
#include "publish/publication.h"
#include "publish/refresh_schedule.h"

namespace pagelark {
namespace {

constexpr int kTransferTimeoutMs = 30000;
// What Qt may read ahead of us: the size limit holds for memory, not only for what is kept.
constexpr qint64 kReadAhead = qint64{64} * 1024;

std::string Duration(std::chrono::milliseconds time) {
    if (time.count() % 1000 != 0) return std::to_string(time.count()) + " ms";
    return std::to_string(time.count() / 1000) + " seconds";
}

std::string Header(const QNetworkReply& reply, const char* name) {
    return reply.rawHeader(name).toStdString();
}

}  // namespace

PublishedFetcher::PublishedFetcher(Publication& publication, RefreshSchedule& schedule,
                                   PresentationUpdates& updates, std::function<void()> answered,
                                   std::chrono::milliseconds deadline)
    : publication_(publication),
      schedule_(schedule),
      updates_(updates),
      answered_(std::move(answered)) {
    // Each redirect is put to the rules before it is followed.
    manager_.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    manager_.setTransferTimeout(kTransferTimeoutMs);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &PublishedFetcher::Fetch);
    deadline_.setSingleShot(true);
    deadline_.setInterval(deadline);
    connect(&deadline_, &QTimer::timeout, this, [this] {
        late_ = true;
        if (reply_) reply_->abort();
    });
}

PublishedFetcher::~PublishedFetcher() {
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
    }
}

void PublishedFetcher::Start() {
    timer_.start(schedule_.UntilDue());
}

void PublishedFetcher::Fetch() {
    answer_ = HttpAnswer{};
    answer_.chain.push_back(publication_.Address());
    late_ = false;
    deadline_.start();
    Ask(QUrl(QString::fromStdString(publication_.Address())));
}

void PublishedFetcher::Ask(const QUrl& address) {
    QNetworkRequest request(address);
    for (const auto& [name, value] : publication_.RequestHeaders())
        request.setRawHeader(QByteArray::fromStdString(name), QByteArray::fromStdString(value));
    reply_ = manager_.get(request);
    reply_->setReadBufferSize(kReadAhead);
    connect(reply_, &QNetworkReply::metaDataChanged, this, [this] {
        const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > static_cast<qint64>(kMaxPublishedBytes)) {
            answer_.overLimit = true;
            reply_->abort();
        }
    });
    connect(reply_, &QNetworkReply::readyRead, this, &PublishedFetcher::Read);
    connect(reply_, &QNetworkReply::finished, this, &PublishedFetcher::Finished);
}

void PublishedFetcher::Read() {
    std::string& body = answer_.body;
    while (reply_ && !answer_.overLimit && reply_->bytesAvailable() > 0) {
        // One byte past the limit tells a file at the limit from one over it.
        const qint64 room = static_cast<qint64>(kMaxPublishedBytes + 1 - body.size());
        body += reply_->read(std::min(reply_->bytesAvailable(), room)).toStdString();
        if (body.size() > kMaxPublishedBytes) {
            answer_.overLimit = true;
            body.clear();
            reply_->abort();
        }
    }
}

void PublishedFetcher::Finished() {
    Read();
    QNetworkReply* reply = reply_;
    reply_ = nullptr;
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QByteArray location = reply->rawHeader("Location");
    if (!answer_.overLimit && !late_ && status >= 300 && status < 400 && status != 304 &&
        !location.isEmpty()) {
        const QUrl target = reply->url().resolved(QUrl::fromEncoded(location));
        answer_.chain.push_back(target.toString(QUrl::FullyEncoded).toStdString());
        if (MayFollow(answer_.chain)) {
            answer_.body.clear();
            Ask(target);
            return;
        }
    }
    deadline_.stop();
    answer_.status = late_ ? 0 : status;
    if (late_)
        answer_.error = "no whole answer within " + Duration(deadline_.intervalAsDuration());
    else if (reply->error() != QNetworkReply::NoError)
        answer_.error = reply->errorString().toStdString();
    answer_.validators = {Header(*reply, "ETag"), Header(*reply, "Last-Modified")};
    // A length announced for a compressed body is not the length of what is read.
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && reply->rawHeader("Content-Encoding").isEmpty())
        answer_.contentLength = static_cast<std::size_t>(length.toULongLong());
    if (auto show = publication_.Take(answer_))
        updates_.TakeShow(std::move(*show), ShowChange::NewVersion);
    if (answered_) answered_();
    answer_ = HttpAnswer{};
    schedule_.Fetched();
    timer_.start(schedule_.UntilDue());
}

}  // namespace pagelark
