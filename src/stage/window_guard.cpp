#include "stage/window_guard.h"

#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

namespace pagelark {

namespace {

// In the page's own world, before its first script: what it holds here the page cannot
// change later. The visitor's click is the engine's own user activation. document.open with
// three arguments is window.open.
const char* const kAnswer = R"((function () {
  var apply = Reflect.apply, activation = navigator.userActivation;
  var active = Object.getOwnPropertyDescriptor(UserActivation.prototype, 'isActive').get;
  function answer(owner, name, opens) {
    var engine = owner[name];
    Object.defineProperty(owner, name, {configurable: true, enumerable: true, writable: true,
      value: {[name]: function () {
        return opens(arguments) && !apply(active, activation, []) ? null
                                                                  : apply(engine, this, arguments);
      }}[name]});
  }
  answer(window, 'open', function () { return true; });
  answer(Document.prototype, 'open', function (args) { return args.length > 2; });
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
