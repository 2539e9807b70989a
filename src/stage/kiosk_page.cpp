#include "stage/kiosk_page.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QWebEngineCertificateError>
#include <QWebEngineDownloadRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWidget>

#include "core/address_check.h"
#include "model/address_scheme.h"
#include "platform/log.h"
#include "stage/window_guard.h"

namespace pagelark {

namespace {

// The engine asks before a page with a "leave this page?" handler is left, through the
// confirmation hook with this text.
QString UnloadQuestion() {
    return QCoreApplication::translate(
        "QWebEnginePage",
        "Are you sure you want to leave this page? Changes that you made may not be saved.");
}

}  // namespace

bool SchemeStaysInside(const QString& scheme) {
    return SchemeLoads(scheme.toStdString());
}

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
    // A new window is never made: a visitor's click opens the address here, through the
    // address check; what a script opens by itself is refused before it is made.
    RefuseWindowsWithoutClick(*this);
    connect(this, &QWebEnginePage::newWindowRequested, [this](QWebEngineNewWindowRequest& request) {
        const QUrl url = request.requestedUrl();
        if (request.isUserInitiated() && url.isValid() && !url.isEmpty() &&
            url.scheme() != "about") {
            // Judged before the page leaves: a refused link leaves the page on show as it is.
            if (!acceptNavigationRequest(url, NavigationTypeLinkClicked, true)) return;
            visitorLoad_ = true;
            setUrl(url);
        } else
            Log(LogArea::Stage, "new window dropped: ", Clipped(url.toString().toStdString()));
    });
    // Switching to another program through a page (mailto:, custom schemes) leaves the kiosk.
    settings()->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);
    // The player decides where the keyboard focus goes.
    settings()->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
    // No web address is read by a local page's scripts. (Its own local reads are the
    // profile's file guard's: switching local file access off would also break links
    // between local pages and their pictures.)
    settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
}

void KioskPage::SetSilent(bool silent) {
    silent_ = silent;
    if (silent_) DismissDialog();
}

void KioskPage::DismissDialog() {
    if (dialog_) dialog_->reject();
}

void KioskPage::LogContents() {
    if (!LogEnabled(LogArea::Stage)) return;
    // In a world of its own: the page's scripts neither see nor disturb it.
    static const QString report = QStringLiteral(
        "(function () {"
        " var broken = [], links = [];"
        " for (var i = 0; i < document.images.length; ++i) {"
        "  var p = document.images[i];"
        "  if (!p.complete || p.naturalWidth === 0) broken.push(p.src); }"
        " for (var k = 0; k < document.links.length; ++k) links.push(document.links[k].href);"
        " return JSON.stringify({pictures: document.images.length, broken: broken,"
        " links: links}); })()");
    runJavaScript(report, QWebEngineScript::ApplicationWorld,
                  [address = Clipped(url().toString().toStdString())](const QVariant& result) {
                      Log(LogArea::Stage, "page ", address, ": ", result.toString().toStdString());
                  });
}

bool KioskPage::Load(const QUrl& url) {
    visitorLoad_ = false;
    // A "javascript:" address would run in the page on show, whatever the lists say.
    if (!SchemeStaysInside(url.scheme()) || !WhyNotLoaded(url.toString().toStdString()).empty())
        return false;
    if ((IsEnginePage(url.toString().toStdString()) || url.scheme() == "about") &&
        !acceptNavigationRequest(url, NavigationTypeTyped, true))
        return false;
    setUrl(url);
    return true;
}

bool KioskPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    if (!SchemeStaysInside(url.scheme()) || !WhyNotLoaded(url.toString().toStdString()).empty())
        return false;
    // A typed load is the program's own: the visitor's address box goes through the program.
    Origin origin = Origin::Page;
    switch (type) {
        case NavigationTypeTyped:
            origin = isMainFrame && visitorLoad_ ? Origin::Visitor : Origin::Program;
            if (isMainFrame) visitorLoad_ = false;
            break;
        case NavigationTypeLinkClicked:
        case NavigationTypeFormSubmitted:
        case NavigationTypeBackForward:
            origin = Origin::Visitor;
            break;
        default:
            break;
    }
    return allow_ ? allow_(url, isMainFrame, origin) : true;
}

bool KioskPage::RunDialog(QDialog* dialog) {
    // Over the show only: the tool bars stay usable, and the dialog goes when the program
    // takes the browser back or another browser comes on show.
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAttribute(Qt::WA_DeleteOnClose, false);
    dialog_ = dialog;
    return dialog->exec() == QDialog::Accepted;
}

void KioskPage::javaScriptAlert(const QUrl&, const QString& message) {
    if (silent_) return;
    // Guarded: the page and its view may go while the dialog runs (the program ending).
    QPointer<QMessageBox> box = new QMessageBox(QMessageBox::Information, "Pagelark", message,
                                                QMessageBox::Ok, qobject_cast<QWidget*>(parent()));
    RunDialog(box);
    delete box;
}

bool KioskPage::javaScriptConfirm(const QUrl&, const QString& message) {
    // The program's own navigations and the visitor's always leave the page: a page must not
    // keep a browser for itself.
    if (message == UnloadQuestion()) return true;
    if (silent_) return false;
    QPointer<QMessageBox> box =
        new QMessageBox(QMessageBox::Question, "Pagelark", message,
                        QMessageBox::Ok | QMessageBox::Cancel, qobject_cast<QWidget*>(parent()));
    const bool accepted = RunDialog(box);
    delete box;
    return accepted;
}

bool KioskPage::javaScriptPrompt(const QUrl&, const QString& message, const QString& value,
                                 QString* result) {
    if (silent_) return false;
    QPointer<QInputDialog> input = new QInputDialog(qobject_cast<QWidget*>(parent()));
    input->setWindowTitle("Pagelark");
    input->setLabelText(message);
    input->setTextValue(value);
    const bool accepted = RunDialog(input) && input;
    if (accepted) *result = input->textValue();
    delete input;
    return accepted;
}

QStringList KioskPage::chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) {
    return {};  // the visitor never sees the machine's files
}

namespace {

// How much of a local file a page's request for it could give its scripts.
LocalLoad LocalLoadOf(QWebEngineUrlRequestInfo::ResourceType type) {
    using Info = QWebEngineUrlRequestInfo;
    switch (type) {
        case Info::ResourceTypeXhr:
        case Info::ResourceTypePing:
        case Info::ResourceTypeCspReport:
        case Info::ResourceTypePrefetch:
        case Info::ResourceTypeNavigationPreloadMainFrame:
        case Info::ResourceTypeNavigationPreloadSubFrame:
            return LocalLoad::ScriptRead;
        case Info::ResourceTypeSubFrame:
        case Info::ResourceTypeObject:
        case Info::ResourceTypeWorker:
        case Info::ResourceTypeSharedWorker:
        case Info::ResourceTypeServiceWorker:
        case Info::ResourceTypePluginResource:
        case Info::ResourceTypeUnknown:
            return LocalLoad::Document;
        default:
            return LocalLoad::Display;
    }
}

// Every request for a local file by a page, as the page's scripts could read it.
class LocalFileGuard final : public QWebEngineUrlRequestInterceptor {
  public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        const QUrl& url = info.requestUrl();
        if (!url.isLocalFile() ||
            info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeMainFrame)
            return;
        const QUrl& page = info.firstPartyUrl();
        const std::string pagePath = page.isLocalFile() ? page.toLocalFile().toStdString() : "";
        if (!LocalLoadAllowed(LocalLoadOf(info.resourceType()), pagePath,
                              url.toLocalFile().toStdString()))
            info.block(true);
    }
};

}  // namespace

QWebEngineProfile* CreateKioskProfile(QObject* parent) {
    auto* profile = new QWebEngineProfile(parent);  // no storage name: off the record
    QObject::connect(profile, &QWebEngineProfile::downloadRequested,
                     [](QWebEngineDownloadRequest* download) { download->cancel(); });
    profile->setUrlRequestInterceptor(new LocalFileGuard(profile));
    return profile;
}

}  // namespace pagelark
