#pragma once
// The program's windows and how they hand over: the start-up window first, then
// the table window, and nothing after the last one closes.

#include <QIcon>
#include <QPointer>

#include "faces.h"
#include "form1.h"

#include "form2.h"

namespace spz {

class Program {
public:
    explicit Program(TableServices services);
    // Shows the start-up window.
    void start();

    Form2* startWindow() const { return start_; }
    Form1* table() const { return table_; }

private:
    void openTable();

    TableServices services_;
    QPointer<Form2> start_;
    QPointer<Form1> table_;
};

// The application-wide settings the game relies on: its name as the title of
// message boxes, one style everywhere, a proportional face for text in the desktop's
// font, and the icon and app id the desktop shows it by.
void configureApplication();

// The game's icon for its windows, built into the program as pictures: drawing the
// installed SVG would load Qt's SVG engine at start. Menus show the installed one.
QIcon gameIcon();

// The face for text in the desktop's default font when that font is monospace, as it
// is where fontconfig knows no sans face but Liberation Mono.
inline constexpr const char* kProportionalFace = faces::kArial;

}  // namespace spz
