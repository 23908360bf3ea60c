#pragma once
// What the table says to a screen reader: a name for each display and its figure
// after the name, the stake on each spot, and a tree that leaves out what is only
// drawn (felt, lines, chip discs and the captions the displays' names repeat).

class QWidget;

namespace spz::speech {

// Names the displays of the built table window, keeps its decoration out of the
// accessibility tree and reads the current figures. Once, when the window is built.
void attach(QWidget* form);

// What the table shows has changed (any widget of the window will do): brings the
// spoken figures and stakes up to date. Those that change tell the screen reader.
void changed(QWidget* table);

}  // namespace spz::speech
