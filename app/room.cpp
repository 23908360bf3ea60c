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

QSize waylandRoom(QSize qtScreen, const WaylandOutput& output, QSize bounds) {
    const int scale = std::max(output.scale, 1);
    QSize layout = output.layout.isEmpty() ? output.mode / scale : output.layout;
    if (layout.isEmpty()) layout = qtScreen;
    // GNOME's integer scaling lays the desktop out in real pixels, bounds included,
    // while a window's own pixels are each scale of them. Elsewhere the layout is in
    // the window's pixels, smaller than the mode at any scale above 1.
    const int unit = scale > 1 && layout.width() * layout.height() == output.mode.width() * output.mode.height()
                         ? scale
                         : 1;
    const QSize room = bounds.isEmpty() ? QSize(layout.width(), layout.height() - kDesktopBarHeight * unit)
                                        : bounds.boundedTo(layout);
    // Qt gives the screen the output's layout size; its pixels are other than the
    // window's only under QT_SCALE_FACTOR.
    const double qt = double(qtScreen.width()) / layout.width() / unit;
    return {static_cast<int>(room.width() * qt), static_cast<int>(room.height() * qt)};
}

}  // namespace spz
