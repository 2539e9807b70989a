#include "stage/window_guard.h"

#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

namespace pagelark {

namespace {

// In the page's own world, before its first script: the page keeps no way to the engine's
// window.open but through this answer, and what it captures here it cannot change later.
// A frame the page makes gets the same answer.
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
    // The engine's own refusal holds where the script is not run: the first, empty document
    // of a frame a script makes. It costs the browser process a little at every call.
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
