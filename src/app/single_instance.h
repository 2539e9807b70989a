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

    // True when no other copy runs; otherwise the other copy is asked to raise its window.
    bool Acquire(std::function<void()> raiseRequested);

  private:
    QString folder_;
    QLockFile lock_;
    QLocalServer server_;
    std::function<void()> raiseRequested_;
};

}  // namespace pagelark
