// The game natively on a Wayland compositor (tests/wayland_check.sh starts one): the
// start-up window comes up on screen, the table follows, one spin plays, and the
// menu ends the program's loop cleanly.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "program.h"
#include "room.h"
#include "table_fakes.h"

using namespace fakes;

TEST(Wayland, StartsOnTheCompositorAndEndsCleanly) {
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("wayland"));
    Services s;
    spz::Program program(s.table());
    QTimer::singleShot(0, [&] {
        program.start();
        QWidget* start = program.startWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(start, 10000)) << "no start-up window on the compositor";
        auto* funds = child<QComboBox>(start, "AccountBalance");
        funds->setCurrentIndex(funds->findText(QStringLiteral("$25")));
        QTest::mouseClick(child<QPushButton>(start, "Command1"), Qt::LeftButton);
        idle();
        QWidget* table = program.table();
        ASSERT_TRUE(table);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(table, 10000)) << "no table on the compositor";
        // No frame of Qt's own, whose buttons the table does not have, and room left
        // for weston's panel, of which Qt knows nothing.
        EXPECT_TRUE(table->windowFlags() & Qt::FramelessWindowHint);
        EXPECT_EQ(table->frameGeometry(), table->geometry());
        EXPECT_LE(table->height(), table->screen()->geometry().height() - spz::kDesktopBarHeight);
        QTest::mouseClick(child<QPushButton>(table, "red"), Qt::LeftButton);
        s.wheel.pockets = {1};
        QTest::mouseClick(child<QPushButton>(table, "Command1"), Qt::LeftButton);
        EXPECT_EQ(caption(table, "AccountBalance"), "26");
        child<QAction>(table, "exitgame")->trigger();
    });
    QTimer::singleShot(30000, [] {
        ADD_FAILURE() << "the program did not end";
        QCoreApplication::exit(99);
    });
    EXPECT_EQ(QApplication::exec(), 0);
}
