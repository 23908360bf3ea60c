#include "room.h"

#include <algorithm>

#include "twips.h"

namespace spz {

double fitScale(QSize clientTwips, QSize extra, QSize room) {
    // Whole pixels: the client at this scale rounds to no more than the room left.
    const double across = double(room.width() - extra.width()) * kTwipsPerPixel / clientTwips.width();
    const double down = double(room.height() - extra.height()) * kTwipsPerPixel / clientTwips.height();
    // Below a third nothing reads any more; the window is then simply too big.
    return std::clamp(std::min({1.0, across, down}), 1.0 / 3, 1.0);
}

QRect desktopRoom(const QRect& screen, const QRect& workArea) {
    const QRect room = workArea.intersected(screen);
    return room.isEmpty() ? screen : room;
}

QPoint placeWithin(const QRect& frame, const QRect& room) {
    return {std::clamp(frame.left(), room.left(), std::max(room.left(), room.right() + 1 - frame.width())),
            std::clamp(frame.top(), room.top(), std::max(room.top(), room.bottom() + 1 - frame.height()))};
}

QSize waylandRoom(QSize qtScreen, double qtScale, const WaylandOutput& output, QSize bounds) {
    const int scale = std::max(output.scale, 1);
    // GNOME's integer scaling lays the desktop out in real pixels, while a window's own
    // pixels are each scale of them. Elsewhere the layout is in the window's pixels,
    // smaller than the mode at any scale above 1.
    const bool realLayout = scale > 1 && !output.layout.isEmpty() &&
                            output.layout.width() * output.layout.height() == output.mode.width() * output.mode.height();
    // The output in the window's pixels. Qt's own idea of the screen is no guide: Qt
    // 6.4 takes GNOME's real-pixel layout as it is, Qt 6.8 divides it by the scale.
    QSize screen = realLayout || output.layout.isEmpty() ? output.mode / scale : output.layout;
    if (screen.isEmpty()) screen = (QSizeF(qtScreen) * qtScale).toSize();
    // GNOME 43 sends such a desktop's bounds in real pixels too, GNOME 48 in the
    // window's: bounds larger than the screen can only be the former.
    if (realLayout && (bounds.width() > screen.width() || bounds.height() > screen.height())) bounds /= scale;
    const QSize room =
        bounds.isEmpty() ? QSize(screen.width(), screen.height() - kDesktopBarHeight) : bounds.boundedTo(screen);
    // Qt's pixels are other than the window's only under QT_SCALE_FACTOR.
    return {static_cast<int>(room.width() / qtScale), static_cast<int>(room.height() / qtScale)};
}

}  // namespace spz
