#pragma once
// The one rule by which both windows turn the layout's twips and points into pixels.

namespace spz {

// 15 twips to a pixel at scale 1: the layout's 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;

// A length in twips as pixels at a scale; never less than one pixel for a length
// that has one, so a rule or an edge does not vanish on a shrunk table.
int twipsToPixels(int twips, double scale);
// A font size in points as pixels at a scale (scale 1: 96 dots per inch).
int pointsToPixels(double points, double scale);

}  // namespace spz
