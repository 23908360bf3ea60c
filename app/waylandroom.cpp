#include "waylandroom.h"

#include <poll.h>
#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "xdg-output-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace spz {

namespace {

using Clock = std::chrono::steady_clock;

// libwayland hands the socket to the first connection and forgets it, so only the
// start can tell whether Qt's connection came that way.
const bool kGivenSocket = std::getenv("WAYLAND_SOCKET") != nullptr;

struct Output {
    wl_output* output = nullptr;
    zxdg_output_v1* described = nullptr;
    std::string name;
    WaylandOutput facts;
};

struct Probe {
    wl_compositor* compositor = nullptr;
    xdg_wm_base* shell = nullptr;
    unsigned shellVersion = 0;
    zxdg_output_manager_v1* outputs = nullptr;
    std::vector<std::unique_ptr<Output>> screens;
    bool configured = false;
    QSize bounds;
};

void geometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*, const char*, int32_t) {}
void mode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
    if (flags & WL_OUTPUT_MODE_CURRENT) static_cast<Output*>(data)->facts.mode = {width, height};
}
void outputDone(void*, wl_output*) {}
void outputScale(void* data, wl_output*, int32_t factor) { static_cast<Output*>(data)->facts.scale = std::max(factor, 1); }
// Built member by member: newer libwayland and protocols add events this probe never
// binds, and leaves their handlers empty.
const wl_output_listener kOutput = [] {
    wl_output_listener l{};
    l.geometry = geometry, l.mode = mode, l.done = outputDone, l.scale = outputScale;
    return l;
}();

void logicalPosition(void*, zxdg_output_v1*, int32_t, int32_t) {}
void logicalSize(void* data, zxdg_output_v1*, int32_t width, int32_t height) {
    static_cast<Output*>(data)->facts.layout = {width, height};
}
void describedDone(void*, zxdg_output_v1*) {}
void name(void* data, zxdg_output_v1*, const char* name) { static_cast<Output*>(data)->name = name; }
void description(void*, zxdg_output_v1*, const char*) {}
constexpr zxdg_output_v1_listener kDescribed{.logical_position = logicalPosition,
                                             .logical_size = logicalSize,
                                             .done = describedDone,
                                             .name = name,
                                             .description = description};

void ping(void*, xdg_wm_base* shell, uint32_t serial) { xdg_wm_base_pong(shell, serial); }
constexpr xdg_wm_base_listener kShell{.ping = ping};

void surfaceConfigure(void* data, xdg_surface*, uint32_t) { static_cast<Probe*>(data)->configured = true; }
constexpr xdg_surface_listener kSurface{.configure = surfaceConfigure};

void toplevelConfigure(void*, xdg_toplevel*, int32_t, int32_t, wl_array*) {}
void toplevelClose(void*, xdg_toplevel*) {}
void bounds(void* data, xdg_toplevel*, int32_t width, int32_t height) {
    static_cast<Probe*>(data)->bounds = {width, height};
}
const xdg_toplevel_listener kToplevel = [] {
    xdg_toplevel_listener l{};
    l.configure = toplevelConfigure, l.close = toplevelClose, l.configure_bounds = bounds;
    return l;
}();

void global(void* data, wl_registry* registry, uint32_t id, const char* interface, uint32_t version) {
    auto* p = static_cast<Probe*>(data);
    auto bind = [&](const wl_interface& type, uint32_t upTo) {
        return wl_registry_bind(registry, id, &type, std::min(version, upTo));
    };
    if (std::strcmp(interface, wl_compositor_interface.name) == 0 && !p->compositor) {
        p->compositor = static_cast<wl_compositor*>(bind(wl_compositor_interface, 1));
    } else if (std::strcmp(interface, xdg_wm_base_interface.name) == 0 && !p->shell) {
        // Version 4 brought the bounds; nothing later is needed.
        p->shellVersion = std::min(version, 4u);
        p->shell = static_cast<xdg_wm_base*>(bind(xdg_wm_base_interface, 4));
        xdg_wm_base_add_listener(p->shell, &kShell, p);
    } else if (std::strcmp(interface, zxdg_output_manager_v1_interface.name) == 0 && !p->outputs) {
        // Version 2 brought the names Qt gives its screens.
        p->outputs = static_cast<zxdg_output_manager_v1*>(bind(zxdg_output_manager_v1_interface, 2));
    } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
        auto& o = p->screens.emplace_back(std::make_unique<Output>());
        o->output = static_cast<wl_output*>(bind(wl_output_interface, 2));
        wl_output_add_listener(o->output, &kOutput, o.get());
    }
}
void globalRemoved(void*, wl_registry*, uint32_t) {}
constexpr wl_registry_listener kRegistry{.global = global, .global_remove = globalRemoved};

void synced(void* data, wl_callback*, uint32_t) { *static_cast<bool*>(data) = true; }
constexpr wl_callback_listener kSynced{.done = synced};

// Reads and dispatches the compositor's events until done is set; false if the
// compositor fails or says nothing more before the deadline.
bool waitFor(wl_display* display, const bool& done, Clock::time_point deadline) {
    while (!done) {
        while (wl_display_prepare_read(display) != 0)
            if (wl_display_dispatch_pending(display) < 0) return false;
        if (done) {
            wl_display_cancel_read(display);
            break;
        }
        wl_display_flush(display);
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd socket{wl_display_get_fd(display), POLLIN, 0};
        const int ready = left > 0 ? poll(&socket, 1, static_cast<int>(left)) : 0;
        if (ready <= 0) {
            wl_display_cancel_read(display);
            if (ready < 0 && errno == EINTR) continue;
            return false;
        }
        if (wl_display_read_events(display) < 0 || wl_display_dispatch_pending(display) < 0) return false;
    }
    return true;
}

// All the compositor has sent so far, once it has answered every request before.
bool settle(wl_display* display, Clock::time_point deadline) {
    bool done = false;
    wl_callback* sync = wl_display_sync(display);
    wl_callback_add_listener(sync, &kSynced, &done);
    const bool answered = waitFor(display, done, deadline);
    wl_callback_destroy(sync);
    return answered;
}

// The window's first configure comes in answer to its first commit, its bounds before it.
void askBounds(wl_display* display, Probe& p, Clock::time_point deadline) {
    wl_surface* surface = wl_compositor_create_surface(p.compositor);
    xdg_surface* shellSurface = xdg_wm_base_get_xdg_surface(p.shell, surface);
    xdg_surface_add_listener(shellSurface, &kSurface, &p);
    xdg_toplevel* toplevel = xdg_surface_get_toplevel(shellSurface);
    xdg_toplevel_add_listener(toplevel, &kToplevel, &p);
    wl_surface_commit(surface);  // no buffer: nothing is ever drawn or mapped
    if (!waitFor(display, p.configured, deadline)) p.bounds = {};
    xdg_toplevel_destroy(toplevel);
    xdg_surface_destroy(shellSurface);
    wl_surface_destroy(surface);
}

void release(Probe& p) {
    for (auto& o : p.screens) {
        if (o->described) zxdg_output_v1_destroy(o->described);
        wl_output_destroy(o->output);
    }
    if (p.outputs) zxdg_output_manager_v1_destroy(p.outputs);
    if (p.shell) xdg_wm_base_destroy(p.shell);
    if (p.compositor) wl_compositor_destroy(p.compositor);
}

}  // namespace

std::optional<WaylandAnswer> askWaylandRoom(const QString& outputName, std::chrono::milliseconds within) {
    const auto deadline = Clock::now() + within;
    wl_display* display = kGivenSocket ? nullptr : wl_display_connect(nullptr);
    if (!display) return std::nullopt;
    Probe p;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistry, &p);
    bool answered = settle(display, deadline);
    if (answered && p.outputs)
        for (auto& o : p.screens) {
            o->described = zxdg_output_manager_v1_get_xdg_output(p.outputs, o->output);
            zxdg_output_v1_add_listener(o->described, &kDescribed, o.get());
        }
    answered = answered && settle(display, deadline);  // the outputs' modes, scales and layout
    if (answered && p.compositor && p.shell && p.shellVersion >= 4) askBounds(display, p, deadline);

    std::optional<WaylandAnswer> answer;
    if (answered && !p.screens.empty()) {
        const auto named = std::find_if(p.screens.begin(), p.screens.end(),
                                        [&](const auto& o) { return QString::fromStdString(o->name) == outputName; });
        answer = WaylandAnswer{(named != p.screens.end() ? *named : p.screens.front())->facts, p.bounds};
    }
    release(p);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return answer;
}

}  // namespace spz
