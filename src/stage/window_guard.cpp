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
//
// A frame's document that no script was injected into (its first, empty document, or
// about:blank) is answered from here as soon as the page can reach it: through a frame
// element, and at its insertion for a frame the page reaches by index or name. Each
// window.open the engine refuses leaves a copy of the page's session storage in the
// browser process, kept after the page is left; so does each form sent to a new window.
//
// A form opens a window when its target (its submitter's, its own or the base element's) is
// _blank or a name no frame of the page has; a frame of another origin has the name its
// frame element carries.
const char* const kAnswer = R"((function () {
  var apply = Reflect.apply, describe = Object.getOwnPropertyDescriptor;
  var define = Object.defineProperty, listen = EventTarget.prototype.addEventListener;
  var Observer = MutationObserver, observe = Observer.prototype.observe;
  var answered = new WeakSet(), holds = WeakSet.prototype.has, add = WeakSet.prototype.add;
  var attribute = Element.prototype.getAttribute, query = Document.prototype.querySelector;
  var queryAll = Document.prototype.querySelectorAll, within = Element.prototype.querySelector;
  var has = Element.prototype.hasAttribute, attributeIn = Element.prototype.getAttributeNS;
  var lower = String.prototype.toLowerCase, nameOf = describe(window, 'name').get;
  var parentWindow = describe(window, 'parent').get;
  var eventTarget = describe(Event.prototype, 'target').get;
  var prevent = Event.prototype.preventDefault, typeOf = describe(Event.prototype, 'type').get;
  var getter = function (type, name) { return describe(type.prototype, name).get; };
  var parentOf = getter(Node, 'parentNode'), kindOf = getter(Node, 'nodeType');
  var hostOf = getter(ShadowRoot, 'host'), shadowOf = getter(Element, 'shadowRoot');
  var localOf = getter(Element, 'localName'), spaceOf = getter(Element, 'namespaceURI');
  var svgTarget = getter(SVGAElement, 'target'), animated = getter(SVGAnimatedString, 'animVal');
  var buttonForm = getter(HTMLButtonElement, 'form'), inputForm = getter(HTMLInputElement, 'form');
  var control = getter(HTMLLabelElement, 'control'), count = getter(NodeList, 'length');
  var slotsIn = DocumentFragment.prototype.querySelectorAll, indexOf = Array.prototype.indexOf;
  var assigned = HTMLSlotElement.prototype.assignedNodes;
  // Every shadow root by its host, closed ones too: a click inside one is seen only from there.
  var roots = new WeakMap(), rootOf = WeakMap.prototype.get, keep = WeakMap.prototype.set;
  var html = 'http://www.w3.org/1999/xhtml', svg = 'http://www.w3.org/2000/svg';
  var xlink = 'http://www.w3.org/1999/xlink';
  // refused: what the call answers when it is not carried out.
  function answer(owner, name, opens, refused, activation, active) {
    var engine = owner[name];
    define(owner, name, {configurable: true, enumerable: true, writable: true,
      value: {[name]: function () {
        return apply(opens, this, [arguments]) && !apply(active, activation, [])
                   ? refused : apply(engine, this, arguments);
      }}[name]});
  }
  // A window of another origin may have renamed itself, but is taken to hold only the name
  // its frame element carries: else a page could aim a click at a new name every time.
  function named(w, name, length) {
    var doc;
    try {
      if (apply(nameOf, w, []) === name) return true;
      doc = w.document;
    } catch (e) {
      return false;  // another origin's
    }
    var frames = apply(queryAll, doc, ['iframe[name], frame[name], object[name]']);
    for (var k = 0, m = apply(count, frames, []); k < m; ++k)
      if (apply(attribute, frames[k], ['name']) === name) return true;
    for (var i = 0, n = apply(length, w, []); i < n; ++i)
      if (named(w[i], name, length)) return true;
    return false;
  }
  // target: the link's, form's or submitter's own; null for none.
  function opensWindow(w, doc, target, length) {
    if (target === null) {
      var base = apply(query, doc, ['base[target]']);
      target = base ? apply(attribute, base, ['target']) : '';
    }
    var word = apply(lower, target, []);
    if (word === '_blank') return true;
    if (word === '' || word === '_self' || word === '_parent' || word === '_top') return false;
    var top = w;
    try {
      for (var above = apply(parentWindow, top, []); above !== top;
           above = apply(parentWindow, top, [])) {
        above.document;  // throws for another origin's, whose frames are not known
        top = above;
      }
    } catch (e) {}
    return !named(top, target, length);
  }
  // Where a click goes on to: the slot a shadow root shows the node in, else its parent, or
  // the host of the shadow root it is.
  function up(node) {
    var parent = apply(parentOf, node, []);
    if (parent === null) {
      try { return apply(hostOf, node, []); } catch (e) { return null; }
    }
    var root = apply(kindOf, parent, []) === 1 &&
               (apply(rootOf, roots, [parent]) || apply(shadowOf, parent, []));
    if (!root) return parent;
    var slots = apply(slotsIn, root, ['slot']);
    for (var i = 0, n = apply(count, slots, []); i < n; ++i)
      if (apply(indexOf, apply(assigned, slots[i], []), [node]) >= 0) return slots[i];
    return parent;
  }
  // A frame element's getter that answers the window behind it before handing it out.
  function reach(prototype, name, frame) {
    var property = describe(prototype, name), engine = property.get;
    property.get = describe({get [name]() {
      var reached = apply(engine, this, []);
      if (reached !== null) guard(apply(frame, this, []));
      return reached;
    }}, name).get;
    define(prototype, name, property);
  }
  function guard(w) {
    var doc;
    try { doc = w.document; } catch (e) { return; }  // another origin's: its own script
    if (!doc || apply(holds, answered, [doc])) return;
    apply(add, answered, [doc]);
    var activation = w.navigator.userActivation;
    var active = describe(w.UserActivation.prototype, 'isActive').get;
    answer(w, 'open', function () { return true; }, null, activation, active);
    answer(w.Document.prototype, 'open', function (args) { return args.length > 2; }, null,
           activation, active);
    var length = describe(w, 'length').get;
    var form = w.HTMLFormElement.prototype;
    var formTarget = function (form, submitter) {
      var target = submitter ? apply(attribute, submitter, ['formtarget']) : null;
      return opensWindow(w, doc, target !== null ? target : apply(attribute, form, ['target']),
                         length);
    };
    answer(form, 'submit', function () { return formTarget(this, null); }, undefined,
           activation, active);
    answer(form, 'requestSubmit', function (args) { return formTarget(this, args[0] || null); },
           undefined, activation, active);
    var submits = function (element) {
      var name = apply(localOf, element, []), type = apply(attribute, element, ['type']);
      type = type === null ? '' : apply(lower, type, []);
      var owner = name === 'button' && type !== 'button' && type !== 'reset'
                      ? apply(buttonForm, element, [])
                  : name === 'input' && (type === 'submit' || type === 'image')
                      ? apply(inputForm, element, [])
                      : null;
      return owner !== null && formTarget(owner, element);
    };
    // Whether a click on node opens a window: the first link (HTML or SVG) or button on its
    // way up decides; a label clicks its control.
    var clickOpens = function (node, fromLabel) {
      try {
        for (var n = node; n; n = up(n)) {
          if (apply(kindOf, n, []) !== 1) continue;
          var name = apply(localOf, n, []), space = apply(spaceOf, n, []);
          if (space === svg && name === 'a') {
            var target = apply(animated, apply(svgTarget, n, []), []);
            return target === '' ? apply(attributeIn, n, [xlink, 'show']) === 'new'
                                 : opensWindow(w, doc, target, length);
          }
          if (space !== html) continue;
          if ((name === 'a' || name === 'area') && apply(has, n, ['href']))
            return opensWindow(w, doc, apply(attribute, n, ['target']), length);
          if (name === 'button') return submits(n);
          if (name === 'input' && submits(n)) return true;
          if (name === 'label' && !fromLabel) {
            var labelled = apply(control, n, []);
            return labelled !== null && clickOpens(labelled, true);
          }
        }
      } catch (e) {}
      return false;
    };
    // A link, a submit button or a label clicked by script, wherever it is (in a shadow root,
    // never added to the page): not clicked, the engine would refuse its window.
    answer(w.HTMLElement.prototype, 'click', function () { return clickOpens(this, false); },
           undefined, activation, active);
    answer(w.EventTarget.prototype, 'dispatchEvent', function (args) {
      try {
        return apply(typeOf, args[0], []) === 'click' && clickOpens(this, false);
      } catch (e) {
        return false;
      }
    }, false, activation, active);
    var children = function () {
      for (var i = 0, n = apply(length, w, []); i < n; ++i) guard(w[i]);
    };
    var submitter = describe(w.SubmitEvent.prototype, 'submitter').get;
    var held = function (event) {
      if (!apply(active, activation, []) &&
          (apply(typeOf, event, []) === 'click'
               ? clickOpens(apply(eventTarget, event, []), false)
               : formTarget(apply(eventTarget, event, []), apply(submitter, event, []))))
        apply(prevent, event, []);
    };
    // A submit or click that does not leave its shadow root is seen there.
    var hold = function (target) {
      apply(listen, target, ['submit', held, true]);
      apply(listen, target, ['click', held, true]);
    };
    hold(w);
    // A frame's window exists, and can be reached by index, once its element is inserted:
    // before any observer hears of it, not before this event. Frames in shadow roots are not
    // reached by index. The parser sends no such event, so what document.write adds is
    // answered as it returns.
    apply(listen, w, ['DOMNodeInserted', function (event) {
      var node = apply(eventTarget, event, []);
      if (apply(kindOf, node, []) !== 1) return;
      var name = apply(localOf, node, []);
      if (name === 'iframe' || name === 'frame' || name === 'object' ||
          apply(within, node, ['iframe, frame, object']) !== null)
        children();
    }, true]);
    var after = function (owner, name) {
      var engine = owner[name];
      define(owner, name, {configurable: true, enumerable: true, writable: true,
        value: {[name]: function () {
          try { return apply(engine, this, arguments); } finally { children(); }
        }}[name]});
    };
    after(w.Document.prototype, 'write');
    after(w.Document.prototype, 'writeln');
    var attach = w.Element.prototype.attachShadow;
    define(w.Element.prototype, 'attachShadow', {configurable: true, enumerable: true,
      writable: true, value: {attachShadow: function () {
        var root = apply(attach, this, arguments);
        apply(keep, roots, [this, root]);
        hold(root);
        return root;
      }}.attachShadow});
    var types = [w.HTMLIFrameElement, w.HTMLFrameElement, w.HTMLObjectElement];
    var names = ['contentWindow', 'contentDocument'];
    for (var t = 0; t < types.length; ++t) {
      var frame = describe(types[t].prototype, 'contentWindow').get;
      for (var k = 0; k < names.length; ++k) reach(types[t].prototype, names[k], frame);
    }
    apply(listen, doc, ['load', children, true]);
    apply(observe, new Observer(children), [doc, {childList: true, subtree: true}]);
    children();
  }
  guard(window);
})();)";

}  // namespace

void RefuseWindowsWithoutClick(QWebEnginePage& page) {
    // The engine's refusal also holds where the script does not reach; each call it refuses
    // costs the browser process for good, the script's nothing.
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
