// The programs the game is compared with: an empty start-up window, and after a click
// on it an empty table window, both of the game's sizes; or, with "widgets", the
// start-up window's own widgets in the game's style before the empty table.

#include <QApplication>
#include <QStyleFactory>
#include <cstring>

#include "emptywindows.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "widgets") == 0) {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        spzbench::startSameWidgets();
    } else {
        spzbench::startEmpty();
    }
    return application.exec();
}
