#include "app/engine_setup.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QQuickWindow>
#include <iostream>

#include "core/engine_flags.h"
#include "platform/devices.h"

namespace pagelark {
namespace {

QtMessageHandler qtMessages = nullptr;

// With GL off, the engine still asks Qt for a context to share, and Qt's refusal would be
// printed at every start although the pages are drawn all the same.
void WithoutGlRefusal(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith("QXcbIntegration: Cannot create platform OpenGL context")) return;
    if (qtMessages != nullptr) qtMessages(type, context, text);
}

}  // namespace

Result<EngineSetup> SetUpEngine(const std::vector<std::string>& arguments, bool remoteDebugging) {
    if (qEnvironmentVariableIsSet("QTWEBENGINE_REMOTE_DEBUGGING")) {
        qunsetenv("QTWEBENGINE_REMOTE_DEBUGGING");
        remoteDebugging = true;
    }
    std::string flags = qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS").toStdString();
    if (DropRemoteDebugging(flags)) {
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", QByteArray::fromStdString(flags));
        remoteDebugging = true;
    }
    if (remoteDebugging)
        std::cerr << "pagelark: remote debugging ignored: it would open the kiosk to anyone\n";
    // The engine's own console output and Qt's report of its set-up are off unless the
    // logging rules ask for them; QT_LOGGING_RULES takes precedence over the rules set here.
    const std::string rules = qEnvironmentVariable("QT_LOGGING_RULES").toStdString();
    flags = qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS").toStdString();
    EngineSetup setup;
    setup.software = DrawInSoftware(qEnvironmentVariableIsSet("QT_QUICK_BACKEND") ||
                                        qEnvironmentVariableIsSet("QSG_RHI_BACKEND") ||
                                        qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"),
                                    GraphicsDevicePresent(), flags);
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            QByteArray::fromStdString(QuietEngineFlags(
                DrawingEngineFlags(KioskEngineFlags(flags), setup.software), rules)));
    QLoggingCategory::setFilterRules("qt.webengine*=false\njs=false");
    if (EngineRefusesUser(::geteuid() == 0,
                          qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"), flags,
                          arguments)) {
        return Fail(
            "the browser engine does not run as root with its sandbox: run the kiosk as an "
            "ordinary user (for a trial as root, set QTWEBENGINE_DISABLE_SANDBOX=1)");
    }
    return setup;
}

void ChooseDrawing(const EngineSetup& setup) {
    if (setup.software) {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        // Qt's GL set-up would load the emulation all the same; not for the programs we start.
        qputenv("QT_XCB_GL_INTEGRATION", "none");
        qtMessages = qInstallMessageHandler(WithoutGlRefusal);
    } else {
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    }
}

void DrawingStarted(const EngineSetup& setup) {
    if (setup.software) qunsetenv("QT_XCB_GL_INTEGRATION");
}

}  // namespace pagelark
