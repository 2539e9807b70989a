#include "app/single_instance.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QSemaphore>
#include <QThread>
#include <functional>
#include <memory>

#include "support/temp_folder.h"

namespace pagelark {
namespace {

using namespace std::chrono_literals;

// The running copy, on a thread of its own: the second start waits for its answers.
class RunningCopy {
  public:
    // start makes the copy's objects on its thread, where they live until the copy ends.
    explicit RunningCopy(std::function<std::shared_ptr<void>()> start) {
        thread_.reset(QThread::create([this, start] {
            const std::shared_ptr<void> copy = start();
            QEventLoop loop;
            loop_ = &loop;
            ready_.release();
            loop.exec();
        }));
        thread_->start();
        ready_.acquire();
    }
    ~RunningCopy() {
        QMetaObject::invokeMethod(loop_, &QEventLoop::quit, Qt::QueuedConnection);
        thread_->wait();
    }
    RunningCopy(const RunningCopy&) = delete;
    RunningCopy& operator=(const RunningCopy&) = delete;

  private:
    std::unique_ptr<QThread> thread_;
    QEventLoop* loop_ = nullptr;
    QSemaphore ready_;
};

TEST(SingleInstanceTest, ASecondStartHearsWhatTheRunningCopyDid) {
    struct Case {
        const char* what;
        bool wantConfig;
        bool cameForward;  // the running copy's answers
        bool configOpened;
        SingleInstance::Outcome outcome;
        int flood;  // bytes with no line end another caller sends first (-1: none): it is let go
    };
    using Outcome = SingleInstance::Outcome;
    const Case cases[] = {
        {"the compositor refused", false, false, false, Outcome::NotForward, -1},
        {"configuration opened", true, true, true, Outcome::ConfigOpened, -1},
        {"configuration refused", true, true, false, Outcome::AnotherRuns, -1},
        {"after a flood", false, true, false, Outcome::CameForward, 1 << 20},
        {"after a silent caller", false, true, false, Outcome::CameForward, 0},
    };
    for (const Case& c : cases) {
        testing::TempFolder temp;
        const QString folder = QString::fromStdString(temp.path());
        int forwardAsked = 0;
        const auto forward = [&] {
            ++forwardAsked;
            return c.cameForward;
        };
        RunningCopy running([&] {
            // A flood is cut off at once, a silent caller only once its time is up.
            auto first = std::make_shared<SingleInstance>(folder, c.flood == 0 ? 200ms : 60s);
            const auto config = [&] { return c.configOpened; };
            EXPECT_EQ(first->Acquire(false, forward, config).Value(), Outcome::First);
            return first;
        });
        if (c.flood >= 0) {
            QLocalSocket flooder;
            flooder.connectToServer(folder + "/pagelark.socket");
            ASSERT_TRUE(flooder.waitForConnected(5000));
            flooder.write(QByteArray(c.flood, 'x'));
            EXPECT_TRUE(flooder.state() == QLocalSocket::UnconnectedState ||
                        flooder.waitForDisconnected(5000))
                << c.what;
        }
        SingleInstance second(folder);
        const Result<Outcome> outcome = second.Acquire(c.wantConfig, nullptr, nullptr);
        ASSERT_TRUE(outcome) << c.what;
        EXPECT_EQ(outcome.Value(), c.outcome) << c.what;
        // A configuration request that cannot be met still brings the kiosk forward.
        EXPECT_EQ(forwardAsked, c.configOpened ? 0 : 1) << c.what;
    }
}

// A running copy from before the answers says nothing: the second start does not wait long.
TEST(SingleInstanceTest, AnOlderRunningCopyThatAnswersNothingIsWaitedForAMoment) {
    testing::TempFolder temp;
    const QString folder = QString::fromStdString(temp.path());
    QByteArray heard;
    QSemaphore read;
    RunningCopy older([&] {
        auto lock = std::make_shared<QLockFile>(folder + "/pagelark.lock");
        EXPECT_TRUE(lock->tryLock(0));
        auto server = std::make_shared<QLocalServer>();
        EXPECT_TRUE(server->listen(folder + "/pagelark.socket"));
        QObject::connect(server.get(), &QLocalServer::newConnection, [&, raw = server.get()] {
            QLocalSocket* socket = raw->nextPendingConnection();
            QObject::connect(socket, &QLocalSocket::readyRead, [&, socket] {
                heard += socket->readAll();
                read.release();
            });
        });
        return std::make_shared<std::pair<decltype(lock), decltype(server)>>(lock, server);
    });
    SingleInstance second(folder, 200ms);
    const Result<SingleInstance::Outcome> outcome = second.Acquire(false, nullptr, nullptr);
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome.Value(), SingleInstance::Outcome::AnotherRuns);
    EXPECT_TRUE(read.tryAcquire(1, 5000));
    EXPECT_EQ(heard, "raise\n");
}

}  // namespace
}  // namespace pagelark
