// The game natively on a Wayland compositor (tests/wayland_check.sh starts one): the
// room it tells, a start that waits on no compositor, then the start-up window on
// screen, the table in the room, one spin, and the menu ending the loop cleanly.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QAction>
#include <QComboBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "program.h"
#include "screenfit.h"
#include "table_fakes.h"
#include "waylandroom.h"

using namespace fakes;
using namespace std::chrono_literals;

TEST(Wayland, TheCompositorTellsTheRoomOrNothing) {
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("wayland"));
    QScreen* screen = QGuiApplication::primaryScreen();
    const auto told = spz::askWaylandRoom(screen->name(), 5s);
    ASSERT_TRUE(told);
    EXPECT_EQ(told->output.layout, screen->geometry().size());  // the output Qt shows the game on
    if (qEnvironmentVariableIsSet("SPINZELLE_TEST_BOUNDS")) {  // KWin's 1920 x 1080, at 150 % where it takes it
        EXPECT_EQ(told->output.mode, QSize(1920, 1080));
        // Laid out in a window's pixels, each the mode over the layout, rounded up.
        EXPECT_EQ(told->output.scale, (1920 + told->output.layout.width() - 1) / told->output.layout.width());
        EXPECT_FALSE(told->bounds.isEmpty());
        EXPECT_TRUE(QRect({}, told->output.layout).contains(QRect({}, told->bounds)));
    }

    // A compositor that takes the connection and never answers, and one that is gone,
    // hold up nothing: the start-up window comes up, fitted by the fallback rule.
    const QByteArray own = qgetenv("WAYLAND_DISPLAY");
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = qgetenv("XDG_RUNTIME_DIR") + "/silent";
    std::copy(path.begin(), path.end(), address.sun_path);
    const int silent = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_EQ(bind(silent, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(silent, 4), 0);
    for (const char* name : {"silent", "gone"}) {
        qputenv("WAYLAND_DISPLAY", name);
        EXPECT_FALSE(spz::askWaylandRoom(screen->name(), 100ms)) << name;
        Services s;
        spz::Program program(s.table());
        program.start();
        QWidget* start = program.startWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(start, 10000)) << name;
        EXPECT_LE(start->height(), screen->geometry().height() - spz::kDesktopBarHeight);
        start->close();
    }
    qputenv("WAYLAND_DISPLAY", own);
    close(silent);
    unlink(path.constData());
}

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
        // No frame of Qt's own, whose buttons the table does not have, and the whole
        // table in the room the compositor leaves, shrunk no more than it must.
        EXPECT_TRUE(table->windowFlags() & Qt::FramelessWindowHint);
        EXPECT_EQ(table->frameGeometry(), table->geometry());
        const QRect room = spz::roomOn(table->screen());
        EXPECT_LE(table->height(), room.height());
        EXPECT_LE(table->width(), room.width());
        if (program.table()->scale() < 1) {
            EXPECT_GE(table->height(), room.height() - 2);
        }
        // Its boxes have no frame either, nor its buttons.
        QTimer::singleShot(100, [] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_TRUE(box);
            EXPECT_TRUE(box->windowFlags() & Qt::FramelessWindowHint);
            EXPECT_EQ(box->frameGeometry(), box->geometry());
            box->close();
        });
        spz::QtMessageBoxes().inform(table, QStringLiteral("Insufficient Funds!"));
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
