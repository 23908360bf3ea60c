#pragma once
// What a Wayland compositor tells a new window about the room it may take. Qt keeps
// this to itself (Qt 6.4 does not even ask for it), so the game asks on a connection
// of its own, as a window that is never shown.

#include <optional>

namespace spz {

struct WaylandAnswer {
    // The largest size the compositor would let a window have, in its own pixels;
    // 0 x 0 where it tells none (weston, or a compositor older than xdg-shell 4).
    int boundsWidth = 0, boundsHeight = 0;
    // The first screen in the compositor's pixels (its mode over its scale).
    int outputWidth = 0, outputHeight = 0;
};

// Empty when no compositor answers on WAYLAND_DISPLAY.
std::optional<WaylandAnswer> askWaylandRoom();

}  // namespace spz
