#pragma once
// One browser's page: every navigation passes the address check first, and nothing a page
// does may take the visitor out of the kiosk (new windows, downloads, file choosers,
// permission prompts, other programs).

#include <QWebEnginePage>
#include <functional>

namespace pagelark {

class KioskPage : public QWebEnginePage {
    Q_OBJECT
  public:
    // allow(url, topLevel) is asked before every navigation.
    using NavigationCheck = std::function<bool(const QUrl& url, bool topLevel)>;

    KioskPage(QWebEngineProfile* profile, NavigationCheck allow, QObject* parent);

    // While silent, script dialogs are suppressed.
    bool Silent() const { return silent_; }
    void SetSilent(bool silent) { silent_ = silent; }

  protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
    void javaScriptAlert(const QUrl& origin, const QString& message) override;
    bool javaScriptConfirm(const QUrl& origin, const QString& message) override;
    bool javaScriptPrompt(const QUrl& origin, const QString& message, const QString& value,
                          QString* result) override;
    QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                            const QStringList& acceptedMimeTypes) override;

  private:
    NavigationCheck allow_;
    bool silent_ = true;
};

// Catches the address a new window would open and hands it back, so the page opens it in
// place of a window of its own (where it passes the address check like any navigation).
class NewWindowCatcher : public QWebEnginePage {
    Q_OBJECT
  public:
    NewWindowCatcher(QWebEngineProfile* profile, QObject* parent);

  signals:
    void Caught(const QUrl& url);

  protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
};

// A private profile for the kiosk: nothing is kept on disk, downloads are refused.
QWebEngineProfile* CreateKioskProfile(QObject* parent);

}  // namespace pagelark
