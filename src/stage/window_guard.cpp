#include "stage/window_guard.h"

#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

namespace pagelark {

namespace {

// In the page's own world, before its first script: what it holds here the page cannot
// change later. The visitor's click is the engine's own user activation.
const char* const kAnswer = R"((function () {
  var open = window.open, apply = Reflect.apply, activation = navigator.userActivation;
  var active = Object.getOwnPropertyDescriptor(UserActivation.prototype, 'isActive').get;
  Object.defineProperty(window, 'open', {configurable: true, enumerable: true, writable: true,
    value: {open: function () {
      return apply(active, activation, []) ? apply(open, this, arguments) : null;
    }}.open});
})();)";

}  // namespace

void RefuseWindowsWithoutClick(QWebEnginePage& page) {
    // The engine's refusal also holds where the script does not run; it costs the browser
    // process a little at every call, the script nothing.
    page.settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    QWebEngineScript script;
    script.setName("pagelark-windows");
    script.setSourceCode(kAnswer);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(true);
    page.scripts().insert(script);
}

}  // namespace pagelark
