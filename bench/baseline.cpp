// The empty program the game is compared with: an empty start-up window, and after a
// click on it an empty table window, both of the game's sizes.

#include <QApplication>

#include "emptywindows.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    spzbench::startEmpty();
    return application.exec();
}
