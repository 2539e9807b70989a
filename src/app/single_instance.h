#pragma once
// One kiosk per user: a second start asks the running one to raise its window and leaves.

#include <QLocalServer>
#include <QLockFile>
#include <QString>
#include <functional>

namespace pagelark {

class SingleInstance {
  public:
    // folder: a private folder of the user's (the runtime folder).
    explicit SingleInstance(const QString& folder);

    enum class Outcome { First, AnotherRuns, Failed };
    // First when no other copy runs. AnotherRuns: that copy was asked to raise its window.
    // Failed: the lock could not be taken at all; Error() says why.
    Outcome Acquire(std::function<void()> raiseRequested);
    QString Error() const { return error_; }

  private:
    QString folder_;
    QLockFile lock_;
    QLocalServer server_;
    std::function<void()> raiseRequested_;
    QString error_;
};

}  // namespace pagelark
