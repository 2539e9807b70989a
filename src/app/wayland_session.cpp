#include "app/wayland_session.h"

#include <wayland-client.h>

#include <qpa/qplatformnativeinterface.h>
#include <QEvent>
#include <QGuiApplication>
#include <QWindow>
#include <string>
#include <utility>
#include <vector>

#include "idle-inhibit-unstable-v1-client-protocol.h"
#include "platform/log.h"

namespace pagelark {
namespace {

constexpr std::string_view kIdleInhibitManager = "zwp_idle_inhibit_manager_v1";

template <typename T>
T* NativeResource(const char* name, QWindow* window = nullptr) {
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    if (native == nullptr) return nullptr;
    void* resource = window != nullptr ? native->nativeResourceForWindow(name, window)
                                       : native->nativeResourceForIntegration(name);
    return static_cast<T*>(resource);
}

}  // namespace

struct WaylandSession::Parts {
    wl_display* display = nullptr;
    wl_event_queue* queue = nullptr;
    wl_registry* registry = nullptr;
    std::vector<std::pair<std::uint32_t, std::string>> globals;
    zwp_idle_inhibit_manager_v1* inhibitManager = nullptr;
    zwp_idle_inhibitor_v1* inhibitor = nullptr;
    wl_surface* inhibited = nullptr;

    static void Global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                       std::uint32_t /*version*/) {
        auto* parts = static_cast<Parts*>(data);
        parts->globals.emplace_back(name, interface);
        if (interface == kIdleInhibitManager && parts->inhibitManager == nullptr)
            parts->inhibitManager = static_cast<zwp_idle_inhibit_manager_v1*>(
                wl_registry_bind(registry, name, &zwp_idle_inhibit_manager_v1_interface, 1));
    }
    static void GlobalRemove(void* data, wl_registry* /*registry*/, std::uint32_t name) {
        std::erase_if(static_cast<Parts*>(data)->globals,
                      [name](const auto& global) { return global.first == name; });
    }
    static constexpr wl_registry_listener kListener{Global, GlobalRemove};

    // What Qt's connection read for our queue since we last looked.
    void Dispatch() const { wl_display_dispatch_queue_pending(display, queue); }
};

WaylandSession::WaylandSession(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}

std::unique_ptr<WaylandSession> WaylandSession::Open() {
    if (!OnWayland()) return nullptr;
    auto* display = NativeResource<wl_display>("wl_display");
    if (display == nullptr) return nullptr;
    auto parts = std::make_unique<Parts>();
    parts->display = display;
    parts->queue = wl_display_create_queue(display);
    // The registry is made through a wrapper on our queue, so its events never reach Qt's.
    auto* wrapper = static_cast<wl_display*>(wl_proxy_create_wrapper(display));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapper), parts->queue);
    parts->registry = wl_display_get_registry(wrapper);
    wl_proxy_wrapper_destroy(wrapper);
    wl_registry_add_listener(parts->registry, &Parts::kListener, parts.get());
    if (wl_display_roundtrip_queue(display, parts->queue) < 0)
        Warn(LogArea::Player, "the compositor did not list what it offers");
    if (parts->inhibitManager == nullptr)
        Warn(LogArea::Player, "the compositor offers no idle inhibitor: it may blank the show");
    return std::unique_ptr<WaylandSession>(new WaylandSession(std::move(parts)));
}

WaylandSession::~WaylandSession() {
    Inhibit(nullptr);
    if (parts_->inhibitManager != nullptr)
        zwp_idle_inhibit_manager_v1_destroy(parts_->inhibitManager);
    wl_registry_destroy(parts_->registry);
    wl_display_flush(parts_->display);
    wl_event_queue_destroy(parts_->queue);
}

bool WaylandSession::Offers(std::string_view interface) {
    parts_->Dispatch();
    for (const auto& global : parts_->globals) {
        if (global.second == interface) return true;
    }
    return false;
}

bool WaylandSession::OffersIdleInhibit() const {
    return parts_->inhibitManager != nullptr;
}

void WaylandSession::Inhibit(QWindow* window) {
    Parts& parts = *parts_;
    parts.Dispatch();
    wl_surface* surface = window != nullptr && window->handle() != nullptr
                              ? NativeResource<wl_surface>("surface", window)
                              : nullptr;
    if (parts.inhibitManager == nullptr || surface == parts.inhibited) return;
    if (parts.inhibitor != nullptr) {
        zwp_idle_inhibitor_v1_destroy(parts.inhibitor);
        parts.inhibitor = nullptr;
        Log(LogArea::Player, "the compositor may blank the screen");
    }
    parts.inhibited = surface;
    if (surface != nullptr) {
        parts.inhibitor =
            zwp_idle_inhibit_manager_v1_create_inhibitor(parts.inhibitManager, surface);
        Log(LogArea::Player, "the compositor is asked to keep the screen on");
    }
    // Now, not whenever Qt next sends its own requests.
    wl_display_flush(parts.display);
}

ScreenAwake::ScreenAwake(DisplayPower& power, WaylandSession* session,
                         std::function<QWindow*()> window)
    : power_(power), session_(session), window_(std::move(window)) {}

ScreenAwake::~ScreenAwake() {
    if (watched_) watched_->removeEventFilter(this);
}

void ScreenAwake::SetPower(bool on, bool tellTelevision) {
    power_.SetPower(on, tellTelevision);
    lit_ = on;
    Apply();
}

void ScreenAwake::Follow(bool showPlays) {
    // Called at every timer step: only a change is news. A watched window's own changes come
    // through its events.
    if (showPlays == plays_ && (window_ ? window_() : nullptr) == watched_) return;
    plays_ = showPlays;
    Apply();
}

void ScreenAwake::Apply() {
    if (session_ == nullptr) return;
    QWindow* window = window_ ? window_() : nullptr;
    if (window != watched_) {
        if (watched_) watched_->removeEventFilter(this);
        watched_ = window;
        if (window != nullptr) window->installEventFilter(this);
    }
    session_->Inhibit(lit_ && plays_ && window != nullptr && window->isVisible() ? window
                                                                                 : nullptr);
}

bool ScreenAwake::eventFilter(QObject* watched, QEvent* event) {
    // A hidden window's surface goes with the request on it; shown again, it has a new one.
    if (watched == watched_ && session_ != nullptr) {
        if (event->type() == QEvent::Hide) session_->Inhibit(nullptr);
        if (event->type() == QEvent::Expose) Apply();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace pagelark
