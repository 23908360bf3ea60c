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

}  // namespace spz
