#pragma once
// What a Wayland compositor tells a new window about the room it may take. Qt keeps
// this to itself (Qt 6.4 does not even ask for it), so the game asks on a connection
// of its own, as a window that is never shown, and never waits long for the answer.

#include <QSize>
#include <QString>
#include <chrono>
#include <optional>

#include "room.h"

namespace spz {

struct WaylandAnswer {
    // The output asked about: the one of that name, else the first.
    WaylandOutput output;
    // The largest size the compositor would give a new window, in its layout's
    // pixels; empty where it tells none (weston before 11, or no answer in time).
    QSize bounds;
};

// Empty when no compositor answers on WAYLAND_DISPLAY within the time given, and when
// the game reached its compositor through WAYLAND_SOCKET, which another connection
// cannot follow.
std::optional<WaylandAnswer> askWaylandRoom(const QString& outputName, std::chrono::milliseconds within);

}  // namespace spz
