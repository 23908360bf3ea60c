#pragma once
// The arithmetic of the one fit rule: how much of its screen a window may take, how
// small it must be drawn to fit there, and where it goes. Plain figures, so every
// desktop's case can be tried without that desktop.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace spz {

// The largest scale, at most 1, at which a client area of the given twips, plus what
// the window adds around it at every scale (frame, menu bar) in pixels, fits the room.
double fitScale(QSize clientTwips, QSize extra, QSize room);

// The room on an X11 screen: the work area its window manager publishes (the desktop
// less its panels), never beyond the screen; the whole screen where none is told.
QRect desktopRoom(const QRect& screen, const QRect& workArea);

// Where a window's frame goes: where the window manager put it, moved only as far as
// it takes to lie in the room (its top left kept in view when it cannot).
QPoint placeWithin(const QRect& frame, const QRect& room);

// What the desktop's bars may take of a Wayland screen whose compositor tells a new
// window nothing of its room, in a window's own pixels: GNOME's top bar and weston's
// panel are 32 high, a Plasma panel 44.
inline constexpr int kDesktopBarHeight = 48;

// One Wayland output as its compositor tells it.
struct WaylandOutput {
    QSize mode;     // in real pixels
    QSize layout;   // its size in the compositor's desktop layout (xdg-output); empty if untold
    int scale = 1;  // the integer buffer scale, a fractional scale rounded up
};

// The room of a new window on a Wayland output, in Qt's pixels: the bounds the
// compositor sent for it (empty if none), never more than the output; where it sent
// none, the output less one desktop bar. qtScreen is the size Qt gives the screen,
// used only when the output is untold; qtScale the window's pixels in one of Qt's
// (QT_SCALE_FACTOR).
QSize waylandRoom(QSize qtScreen, double qtScale, const WaylandOutput& output, QSize bounds);

}  // namespace spz
