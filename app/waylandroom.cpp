#include "waylandroom.h"

#include <wayland-client.h>

#include <algorithm>
#include <cstring>

#include "xdg-shell-client-protocol.h"

namespace spz {

namespace {

struct Probe {
    wl_compositor* compositor = nullptr;
    xdg_wm_base* shell = nullptr;
    unsigned shellVersion = 0;
    wl_output* output = nullptr;
    int modeWidth = 0, modeHeight = 0, scale = 1;
    bool configured = false;
    WaylandAnswer answer;
};

void geometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*, const char*, int32_t) {}
void mode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
    auto* p = static_cast<Probe*>(data);
    if (flags & WL_OUTPUT_MODE_CURRENT) p->modeWidth = width, p->modeHeight = height;
}
void outputDone(void*, wl_output*) {}
void outputScale(void* data, wl_output*, int32_t factor) { static_cast<Probe*>(data)->scale = std::max(factor, 1); }
// Built member by member: newer libwayland and protocols add events this probe never
// binds, and leaves their handlers empty.
const wl_output_listener kOutput = [] {
    wl_output_listener l{};
    l.geometry = geometry, l.mode = mode, l.done = outputDone, l.scale = outputScale;
    return l;
}();

void ping(void*, xdg_wm_base* shell, uint32_t serial) { xdg_wm_base_pong(shell, serial); }
constexpr xdg_wm_base_listener kShell{.ping = ping};

void surfaceConfigure(void* data, xdg_surface*, uint32_t) { static_cast<Probe*>(data)->configured = true; }
constexpr xdg_surface_listener kSurface{.configure = surfaceConfigure};

void toplevelConfigure(void*, xdg_toplevel*, int32_t, int32_t, wl_array*) {}
void toplevelClose(void*, xdg_toplevel*) {}
void bounds(void* data, xdg_toplevel*, int32_t width, int32_t height) {
    auto* p = static_cast<Probe*>(data);
    p->answer.boundsWidth = width;
    p->answer.boundsHeight = height;
}
const xdg_toplevel_listener kToplevel = [] {
    xdg_toplevel_listener l{};
    l.configure = toplevelConfigure, l.close = toplevelClose, l.configure_bounds = bounds;
    return l;
}();

void global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    auto* p = static_cast<Probe*>(data);
    if (std::strcmp(interface, wl_compositor_interface.name) == 0 && !p->compositor) {
        p->compositor = static_cast<wl_compositor*>(wl_registry_bind(registry, name, &wl_compositor_interface, 1));
    } else if (std::strcmp(interface, xdg_wm_base_interface.name) == 0 && !p->shell) {
        // Version 4 brought the bounds; nothing later is needed.
        p->shellVersion = std::min(version, 4u);
        p->shell = static_cast<xdg_wm_base*>(wl_registry_bind(registry, name, &xdg_wm_base_interface, p->shellVersion));
        xdg_wm_base_add_listener(p->shell, &kShell, p);
    } else if (std::strcmp(interface, wl_output_interface.name) == 0 && !p->output) {
        p->output = static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, std::min(version, 2u)));
        wl_output_add_listener(p->output, &kOutput, p);
    }
}
void globalRemoved(void*, wl_registry*, uint32_t) {}
constexpr wl_registry_listener kRegistry{.global = global, .global_remove = globalRemoved};

// The window's first configure comes in answer to its first commit; a compositor
// that has not sent it after a few round trips tells nothing more.
void askBounds(wl_display* display, Probe& p) {
    wl_surface* surface = wl_compositor_create_surface(p.compositor);
    xdg_surface* shellSurface = xdg_wm_base_get_xdg_surface(p.shell, surface);
    xdg_surface_add_listener(shellSurface, &kSurface, &p);
    xdg_toplevel* toplevel = xdg_surface_get_toplevel(shellSurface);
    xdg_toplevel_add_listener(toplevel, &kToplevel, &p);
    wl_surface_commit(surface);  // no buffer: nothing is ever drawn or mapped
    for (int trip = 0; trip < 5 && !p.configured; ++trip)
        if (wl_display_roundtrip(display) < 0) break;
    xdg_toplevel_destroy(toplevel);
    xdg_surface_destroy(shellSurface);
    wl_surface_destroy(surface);
    wl_display_roundtrip(display);
}

}  // namespace

std::optional<WaylandAnswer> askWaylandRoom() {
    wl_display* display = wl_display_connect(nullptr);
    if (!display) return std::nullopt;
    Probe p;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistry, &p);
    bool reached = wl_display_roundtrip(display) >= 0;
    reached = reached && wl_display_roundtrip(display) >= 0;  // the screen's mode and scale
    if (reached && p.compositor && p.shell && p.shellVersion >= 4) askBounds(display, p);
    p.answer.outputWidth = p.modeWidth / p.scale;
    p.answer.outputHeight = p.modeHeight / p.scale;

    if (p.output) wl_output_destroy(p.output);
    if (p.shell) xdg_wm_base_destroy(p.shell);
    if (p.compositor) wl_compositor_destroy(p.compositor);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    if (!reached) return std::nullopt;
    return p.answer;
}

}  // namespace spz
