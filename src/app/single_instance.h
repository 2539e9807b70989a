#pragma once
// One kiosk per user: a second start asks the running one to raise its window, or to open its
// configuration window, and leaves.

#include <QLocalServer>
#include <QLockFile>
#include <QString>
#include <functional>

namespace pagelark {

class SingleInstance {
  public:
    // folder: a private folder of the user's (the runtime folder).
    explicit SingleInstance(const QString& folder);

    enum class Outcome { First, AnotherRuns, ConfigOpened, Failed };
    // First when no other copy runs. AnotherRuns: that copy was asked to raise its window (or,
    // with wantConfig, to open its configuration window, and refused); ConfigOpened: it did.
    // Failed: the lock could not be taken at all; Error() says why. The running copy answers
    // a configuration request with configRequested's answer.
    Outcome Acquire(bool wantConfig, std::function<void()> raiseRequested,
                    std::function<bool()> configRequested);
    QString Error() const { return error_; }

  private:
    QString folder_;
    QLockFile lock_;
    QLocalServer server_;
    std::function<void()> raiseRequested_;
    std::function<bool()> configRequested_;
    QString error_;
};

}  // namespace pagelark
