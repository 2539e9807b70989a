#pragma once
// One kiosk per user: a second start asks the running one to raise its window, or to open its
// configuration window, and leaves.

#include <QLocalServer>
#include <QLockFile>
#include <QString>
#include <functional>
#include <string>

#include "platform/result.h"

namespace pagelark {

// The user's runtime folder, else the private temporary folder tempDir: one for the user's
// kiosks to meet in.
QString RuntimeFolder(const std::string& tempDir);

class SingleInstance {
  public:
    // folder: a private folder of the user's (the runtime folder).
    explicit SingleInstance(const QString& folder);

    enum class Outcome { First, AnotherRuns, ConfigOpened };
    // First when no other copy runs. AnotherRuns: that copy was asked to raise its window (or,
    // with wantConfig, to open its configuration window, and refused); ConfigOpened: it did.
    // Fails, saying why, when the lock cannot be taken at all. The running copy answers a
    // configuration request with configRequested's answer.
    Result<Outcome> Acquire(bool wantConfig, std::function<void()> raiseRequested,
                            std::function<bool()> configRequested);

  private:
    QString folder_;
    QLockFile lock_;
    QLocalServer server_;
    std::function<void()> raiseRequested_;
    std::function<bool()> configRequested_;
};

}  // namespace pagelark
