#pragma once
// The one rule by which both windows turn their twips and points into pixels, and
// the scale at which a window fits the screen it opens on.

#include <functional>

namespace spz {

// 15 twips to a pixel at scale 1: the layout's 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;

// A length in twips as pixels at a scale; never less than one pixel for a length
// that has one, so a rule or an edge does not vanish on a shrunk table.
int twipsToPixels(int twips, double scale);
// A font size in points as pixels at a scale (scale 1: 96 dots per inch).
int pointsToPixels(double points, double scale);

// The largest scale, at most 1, at which a client area of the given twips, plus what
// the window adds around it at every scale (frame, menu bar) in pixels, fits the room.
double fitScale(int clientWidthTwips, int clientHeightTwips, int extraWidth, int extraHeight, int roomWidth,
                int roomHeight);

// What a window offers the fit: its client area in twips, the pixels it adds at every
// scale (a menu bar in the desktop's font), its scale, and a redraw at another.
struct FitTarget {
    int clientWidthTwips, clientHeightTwips;
    std::function<int()> fixedHeight;
    std::function<double()> scale;
    std::function<void(double)> drawAt;
};

struct Room {
    int width = 0, height = 0;
};

// What the desktop's bars may take of a Wayland screen whose compositor tells a new
// window nothing of its room: GNOME's top bar and weston's panel are 32 pixels high, a
// Plasma panel 44.
inline constexpr int kDesktopBarHeight = 48;

// The room of a new window on a Wayland screen, in the toolkit's pixels: the bounds
// the compositor sent (0 x 0 if none), each of its pixels toolkitPerCompositor of the
// toolkit's; where it sent none, the screen less one desktop bar.
Room waylandRoom(Room screen, Room bounds, double toolkitPerCompositor);

}  // namespace spz
