#pragma once
// The program's windows and how they hand over: the start-up window first, then
// the table window, and nothing after the last one closes.

#include <QPointer>

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
// message boxes, one style everywhere, and fonts for the table's Windows faces.
void configureApplication();

}  // namespace spz
