#pragma once
// The fonts Debian ships that stand in for the layout's Windows faces. Both windows
// ask for these installed families by name: asking for "Arial" and letting Qt map it
// would first send Qt through fontconfig's whole fallback list, once per face, which
// on a desktop with thousands of fonts costs more than drawing the window.

namespace spz::faces {

// Arial's metric twin.
inline constexpr const char* kArial = "Liberation Sans";
// Sylfaen, a serif text face.
inline constexpr const char* kSylfaen = "Liberation Serif";
// MS Sans Serif, the old bitmap interface face that sets tighter than Arial, so the
// deep black column of the history still fits its list.
inline constexpr const char* kMsSansSerif = "Liberation Sans Narrow";

}  // namespace spz::faces
