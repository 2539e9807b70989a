#pragma once
// One kiosk per user: a second start asks the running one to come forward, or to open its
// configuration window, and leaves. The running one answers each request on the channel; a
// copy older than the answer to "raise" says nothing, and is waited for only a moment.

#include <QLocalServer>
#include <QString>
#include <chrono>
#include <functional>
#include <string>

#include "platform/instance_lock.h"
#include "platform/result.h"

namespace pagelark {

// The user's runtime folder, else the private temporary folder tempDir: one for the user's
// kiosks to meet in.
QString RuntimeFolder(const std::string& tempDir);

class SingleInstance {
  public:
    // folder: a private folder of the user's (the runtime folder); answerWait: how long a second
    // start waits for the running copy's answer, and the running copy for a caller's request.
    explicit SingleInstance(const QString& folder,
                            std::chrono::milliseconds answerWait = std::chrono::seconds(3));

    enum class Outcome { First, AnotherRuns, CameForward, NotForward, ConfigOpened };
    // First when no other copy runs. The running copy was asked to come forward and answered
    // that it did (CameForward) or could not (NotForward), or gave no answer (AnotherRuns);
    // with wantConfig it was asked to open its configuration window: ConfigOpened when it did,
    // else AnotherRuns. Fails, saying why, when the lock cannot be taken at all. The running
    // copy answers with comeForward's and configRequested's answers.
    Result<Outcome> Acquire(bool wantConfig, std::function<bool()> comeForward,
                            std::function<bool()> configRequested);

  private:
    QString folder_;
    std::chrono::milliseconds answerWait_;
    InstanceLock lock_;
    QLocalServer server_;
    std::function<bool()> comeForward_;
    std::function<bool()> configRequested_;
};

}  // namespace pagelark
