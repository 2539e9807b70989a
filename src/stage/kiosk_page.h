#pragma once
// One browser's page: every navigation passes the address check first, and nothing a page
// does may take the visitor out of the kiosk (new windows, downloads, file choosers,
// permission prompts, other programs) or stall the show (unload prompts, script dialogs).

#include <QPointer>
#include <QWebEnginePage>
#include <functional>

class QDialog;

namespace pagelark {

class KioskPage : public QWebEnginePage {
    Q_OBJECT
  public:
    // Who started a navigation: the program's load, the page itself (a redirect, a script, a
    // refresh) or the visitor (a link clicked, a form sent, Back or Forward).
    enum class Origin { Program, Page, Visitor };
    // allow(url, topLevel, origin) is asked before every navigation.
    using NavigationCheck = std::function<bool(const QUrl& url, bool topLevel, Origin origin)>;

    KioskPage(QWebEngineProfile* profile, NavigationCheck allow, QObject* parent);

    // While silent, script dialogs are suppressed; making a page silent again (the program
    // takes the browser back) closes a dialog it still shows.
    bool Silent() const { return silent_; }
    void SetSilent(bool silent);
    // A script dialog still open is answered with Cancel.
    void DismissDialog();
    // With the stage's debug lines on, logs what the loaded page holds: its pictures that
    // did not load and where its links lead, read from the page's own document.
    void LogContents();
    // Loads an address the program sends. The engine does not ask acceptNavigationRequest
    // before its inner pages, an "about:" page or a script address when they are loaded this
    // way, so those are checked here; a script address is never run. False when the address
    // was not loaded: the engine reports nothing of it then.
    bool Load(const QUrl& url);

  protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    void javaScriptAlert(const QUrl& origin, const QString& message) override;
    bool javaScriptConfirm(const QUrl& origin, const QString& message) override;
    bool javaScriptPrompt(const QUrl& origin, const QString& message, const QString& value,
                          QString* result) override;
    QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                            const QStringList& acceptedMimeTypes) override;

  private:
    // Runs a dialog over the page; true when the visitor accepted it.
    bool RunDialog(QDialog* dialog);

    NavigationCheck allow_;
    bool silent_ = true;
    bool visitorLoad_ = false;  // the next typed load is a link the visitor opened
    QPointer<QDialog> dialog_;
};

// Schemes a page may reach (model/address_scheme.h).
bool SchemeStaysInside(const QString& scheme);

// A private profile for the kiosk: nothing is kept on disk, downloads are refused, and pages
// load local files only as LocalLoadAllowed says.
QWebEngineProfile* CreateKioskProfile(QObject* parent);

}  // namespace pagelark
