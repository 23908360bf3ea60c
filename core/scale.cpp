#include "scale.h"

#include <algorithm>
#include <cmath>

namespace spz {

int twipsToPixels(int twips, double scale) {
    const int px = static_cast<int>(std::lround(twips * scale / kTwipsPerPixel));
    return twips > 0 ? std::max(px, 1) : px;
}

int pointsToPixels(double points, double scale) {
    return std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0 * scale)));
}

double fitScale(int clientWidthTwips, int clientHeightTwips, int extraWidth, int extraHeight, int roomWidth,
                int roomHeight) {
    // Whole pixels: the client at this scale rounds to no more than the room left.
    const double across = double(roomWidth - extraWidth) * kTwipsPerPixel / clientWidthTwips;
    const double down = double(roomHeight - extraHeight) * kTwipsPerPixel / clientHeightTwips;
    // Below a third nothing reads any more; the window is then simply too big.
    return std::clamp(std::min({1.0, across, down}), 1.0 / 3, 1.0);
}

Room waylandRoom(Room screen, Room bounds, double toolkitPerCompositor) {
    if (bounds.width <= 0 || bounds.height <= 0)
        return {screen.width, screen.height - static_cast<int>(std::lround(kDesktopBarHeight * toolkitPerCompositor))};
    // Never more than the screen, and whole pixels inside the bounds.
    return {std::min(screen.width, static_cast<int>(bounds.width * toolkitPerCompositor)),
            std::min(screen.height, static_cast<int>(bounds.height * toolkitPerCompositor))};
}

}  // namespace spz
