#include "twips.h"

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

}  // namespace spz
