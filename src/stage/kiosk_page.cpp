#include "stage/kiosk_page.h"

#include <QWebEngineCertificateError>
#include <QWebEngineDownloadRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

namespace pagelark {

KioskPage::KioskPage(QWebEngineProfile* profile, NavigationCheck allow, QObject* parent)
    : QWebEnginePage(profile, parent), allow_(std::move(allow)) {
    connect(this, &QWebEnginePage::certificateError,
            [](QWebEngineCertificateError error) { error.rejectCertificate(); });
    connect(this, &QWebEnginePage::featurePermissionRequested,
            [this](const QUrl& origin, Feature feature) {
                setFeaturePermission(origin, feature, PermissionDeniedByUser);
            });
    connect(this, &QWebEnginePage::fullScreenRequested,
            [](QWebEngineFullScreenRequest request) { request.reject(); });
    // Switching to another program through a page (mailto:, custom schemes) leaves the kiosk.
    settings()->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);
    // The player decides where the keyboard focus goes.
    settings()->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
}

bool KioskPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) {
    return allow_ ? allow_(url, isMainFrame) : true;
}

QWebEnginePage* KioskPage::createWindow(WebWindowType) {
    auto* catcher = new NewWindowCatcher(profile(), this);
    connect(catcher, &NewWindowCatcher::Caught, this, [this](const QUrl& url) { setUrl(url); });
    return catcher;
}

void KioskPage::javaScriptAlert(const QUrl& origin, const QString& message) {
    if (!silent_) QWebEnginePage::javaScriptAlert(origin, message);
}

bool KioskPage::javaScriptConfirm(const QUrl& origin, const QString& message) {
    return silent_ ? false : QWebEnginePage::javaScriptConfirm(origin, message);
}

bool KioskPage::javaScriptPrompt(const QUrl& origin, const QString& message, const QString& value,
                                 QString* result) {
    return silent_ ? false : QWebEnginePage::javaScriptPrompt(origin, message, value, result);
}

QStringList KioskPage::chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) {
    return {};  // the visitor never sees the machine's files
}

NewWindowCatcher::NewWindowCatcher(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {}

bool NewWindowCatcher::acceptNavigationRequest(const QUrl& url, NavigationType, bool) {
    emit Caught(url);
    deleteLater();
    return false;
}

QWebEngineProfile* CreateKioskProfile(QObject* parent) {
    auto* profile = new QWebEngineProfile(parent);  // no storage name: off the record
    QObject::connect(profile, &QWebEngineProfile::downloadRequested,
                     [](QWebEngineDownloadRequest* download) { download->cancel(); });
    return profile;
}

}  // namespace pagelark
