#pragma once
// What the table says to a screen reader: each display by its name and figure, the
// stake on each spot, a tree that leaves out what is only drawn (felt, lines, chip
// discs and the captions the displays' names repeat), and each change of the game
// said once, as it happens.

#include <QString>
class QWidget;

namespace spz::speech {

// Names the displays of the built table window, keeps its decoration out of the
// accessibility tree and reads the current figures. Once, when the window is built.
void attach(QWidget* form);

// What the table shows has changed (any widget of the window will do): brings the
// spoken figures and stakes up to date. Those that change tell the screen reader.
void changed(QWidget* table);

// Says a change of the game once: a bet, a refused bet, a chip the table stepped down,
// a new game, a result. Changes said within a moment of each other are heard as one;
// of those about the same thing (a spot, say) only the newest is heard.
void say(QWidget* table, const QString& text, const QString& about = QString());
// A history line as heard: the pocket and its colour, "17 black", "00 green".
QString pocketWords(const QString& line);

// Says at once what is waiting, before a box opens and talks over it.
void sayNow(QWidget* table);
}  // namespace spz::speech
