// Windows has no Wayland compositor to ask: the room a window may take is the work
// area Qt reports, the screen less the taskbar.
#include "waylandroom.h"

namespace spz {

std::optional<WaylandAnswer> askWaylandRoom(const QString&, std::chrono::milliseconds) { return std::nullopt; }

}  // namespace spz
