// Whole games through the program's own event loop, from the start-up window to
// the end: the loop must end, and end well, however the player leaves.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QTest>
#include <QTimer>

#include "program.h"
#include "table_fakes.h"

using namespace fakes;

namespace {

// Runs the scenario inside the application's loop and returns the loop's status.
int runProgram(spz::Program& program, std::function<void()> scenario) {
    QTimer::singleShot(0, [&] {
        program.start();
        scenario();
    });
    QTimer guard;  // a loop that never ends fails the test instead of hanging it
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        ADD_FAILURE() << "the program did not end";
        QCoreApplication::exit(99);
    });
    guard.start(30000);
    return QApplication::exec();
}

void begin(spz::Program& program, const char* funds) {
    auto* combo = child<QComboBox>(program.startWindow(), "AccountBalance");
    combo->setCurrentIndex(combo->findText(funds));
    QTest::mouseClick(child<QPushButton>(program.startWindow(), "Command1"), Qt::LeftButton);
    idle();
}

void click(QWidget* table, const char* name) {
    QTest::mouseClick(child<QAbstractButton>(table, name), Qt::LeftButton);
    idle();
}

TEST(Program, FromTheStartWindowToBankruptcyRestartAndCancel) {
    Services s;
    spz::Program program(s.table());
    QPointer<QWidget> start, table;
    const int status = runProgram(program, [&] {
        start = program.startWindow();
        begin(program, "$100");
        table = program.table();
        ASSERT_TRUE(table);
        EXPECT_TRUE(table->isVisible());
        EXPECT_TRUE(start.isNull() || !start->isVisible());
        EXPECT_EQ(caption(table, "AccountBalance"), "100");

        click(table, "Option3");  // $25
        click(table, "red");
        s.wheel.pockets = {1};
        click(table, "Command1");
        EXPECT_EQ(caption(table, "AccountBalance"), "125");

        // All on black and red comes up: broke, asked once, OK starts again at 100.
        click(table, "Option4");
        click(table, "black2");  // the chip steps down to the $25 still covered
        click(table, "black4");
        EXPECT_EQ(caption(table, "amountontable"), "125");
        s.boxes.answers = {true, false};
        s.wheel.pockets = {3};
        click(table, "Command1");
        EXPECT_EQ(s.boxes.count("You Lose. Restart?"), 1);
        EXPECT_EQ(caption(table, "AccountBalance"), "100");

        // Broke again, and this time Cancel: the program ends.
        click(table, "Option4");
        click(table, "black2");
        s.wheel.pockets = {5};
        click(table, "Command1");
        EXPECT_EQ(s.boxes.count("You Lose. Restart?"), 2);
    });
    EXPECT_EQ(status, 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(table.isNull());
    EXPECT_TRUE(start.isNull());
    EXPECT_EQ(s.boxes.shown.front(), "You Won $ 25");
}

TEST(Program, LeavingInTheMiddleOfASpinEndsCleanly) {
    for (const char* how : {"menu", "frame", "restart-menu"}) {
        Services s;
        spz::Program program(s.table());
        QPointer<spz::Form1> table;
        const int status = runProgram(program, [&] {
            begin(program, "$50");
            table = program.table();
            click(table, "red7");
            bool acted = false;
            s.pause.onStep = [&](int step) {
                if (step != 30 || !table || acted) return;
                acted = true;
                if (std::string(how) == "menu") child<QAction>(table, "exitgame")->trigger();
                if (std::string(how) == "frame") table->close();
                if (std::string(how) == "restart-menu") {
                    child<QAction>(table, "r500")->trigger();
                    QTimer::singleShot(0, table, [&] { child<QAction>(table, "exitgame")->trigger(); });
                }
            };
            s.wheel.pockets = {7};
            click(table, "Command1");
        });
        EXPECT_EQ(status, 0) << how;
        EXPECT_TRUE(s.boxes.shown.empty()) << how;  // the abandoned spin showed nothing
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(table.isNull()) << how;
    }
}

TEST(Program, ClosingTheStartWindowEndsTheProgramWithoutATable) {
    Services s;
    spz::Program program(s.table());
    const int status = runProgram(program, [&] { program.startWindow()->close(); });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(program.table(), nullptr);
}

}  // namespace
