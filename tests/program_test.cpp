// Whole games through the program's own event loop, from the start-up window to
// the end: the loop must end, and end well, however the player leaves.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QMessageBox>
#include <QRadioButton>
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

// Keys go where a keyboard sends them: to an open menu, else to the focus.
QWidget* keyboard() {
    // Offscreen there is no window manager to hand the focus back once a box has
    // closed; do as one would.
    if (!QApplication::activeWindow())
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible()) {
                w->activateWindow();
                EXPECT_TRUE(QTest::qWaitForWindowActive(w));
                break;
            }
    if (QWidget* menu = QApplication::activePopupWidget()) return menu;
    return QApplication::focusWidget();
}

void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* to = keyboard();
    ASSERT_TRUE(to) << "nothing has the keyboard";
    QTest::keyClick(to, static_cast<Qt::Key>(key), modifiers);
    idle();
}

TEST(Program, AWholeGameByKeyboardAlone) {
    Services s;
    spz::QtMessageBoxes realBoxes;  // answered with Return, as a player would
    spz::TableServices services = s.table();
    services.boxes = &realBoxes;
    spz::Program program(services);
    QStringList boxes;
    QTimer answer;
    // The title whole beside the widest set of buttons tried, Breeze's under kwin_x11:
    // a menu, minimise, maximise and close, with its margins, take 116 pixels.
    QFont titleFace = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    titleFace.setBold(true);
    const int titleRoom = QFontMetrics(titleFace).horizontalAdvance(QStringLiteral("Spinzelle")) + 116;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxes << box->text();
            EXPECT_GE(box->width(), titleRoom) << box->text().toStdString();
            QTest::keyClick(box, Qt::Key_Return);
        }
    });
    answer.start(5);
    QPointer<spz::Form1> table;
    const int status = runProgram(program, [&] {
        ASSERT_TRUE(QTest::qWaitForWindowActive(program.startWindow()));
        for (int i = 0; i < 3; ++i) press(Qt::Key_Down);
        EXPECT_EQ(child<QComboBox>(program.startWindow(), "AccountBalance")->currentText(), "$100");
        press(Qt::Key_Return);
        table = program.table();
        ASSERT_TRUE(table);
        ASSERT_TRUE(QTest::qWaitForWindowActive(table));

        // Up to $500 and the table steps it down to $100, with the focus.
        for (int i = 0; i < 4; ++i) press(Qt::Key_Right);
        EXPECT_EQ(boxes, QStringList{"Insufficient Funds!"});
        EXPECT_EQ(keyboard(), child<QWidget>(table, "Option4"));
        press(Qt::Key_Left);  // $25
        EXPECT_TRUE(child<QRadioButton>(table, "Option3")->isChecked());

        press(Qt::Key_Tab);  // into the layout, at 1
        press(Qt::Key_Space);
        press(Qt::Key_Down);  // 4
        press(Qt::Key_Return);
        press(Qt::Key_Left);  // the first dozen, beside 4
        QWidget* dozen = child<QWidget>(table, "firstthird");
        EXPECT_EQ(keyboard(), dozen);
        for (int i = 0; i < 2; ++i) press(Qt::Key_Left);  // EVEN, then the layout's edge
        EXPECT_EQ(keyboard(), child<QWidget>(table, "even"));
        press(Qt::Key_Right);
        EXPECT_EQ(keyboard(), dozen);
        // The ring shows where the keyboard is, on a spot and on the button alike.
        QWidget* spinButton = child<QWidget>(table, "Command1");
        const QImage dozenRinged = dozen->grab().toImage(), buttonPlain = spinButton->grab().toImage();
        press(Qt::Key_Tab);
        EXPECT_EQ(keyboard(), spinButton);
        EXPECT_NE(dozen->grab().toImage(), dozenRinged);
        EXPECT_NE(spinButton->grab().toImage(), buttonPlain);
        press(Qt::Key_Tab, Qt::ShiftModifier);  // back to the spot last reached
        EXPECT_EQ(keyboard(), dozen);
        press(Qt::Key_Right);  // 4 again: of 4 and 7, level with the dozen's middle, the first
        EXPECT_EQ(keyboard(), child<QWidget>(table, "black4"));
        press(Qt::Key_Tab);
        EXPECT_EQ(caption(table, "amountontable"), "50");

        s.wheel.pockets = {4};
        QWidget* during = nullptr;  // the focus while the wheel turns, and keys on it
        s.pause.onStep = [&](int step) {
            if (step != 50) return;
            during = QApplication::focusWidget();
            for (int key : {Qt::Key_Space, Qt::Key_Return}) QTest::keyClick(during, static_cast<Qt::Key>(key));
        };
        press(Qt::Key_Return);  // the spin, and its box answered by Return
        EXPECT_EQ(during, child<QWidget>(table, "Command1"));
        EXPECT_EQ(s.pause.steps, 100);  // the keys on it started no second spin
        EXPECT_EQ(boxes.last(), "You Won $ 850");
        EXPECT_EQ(caption(table, "AccountBalance"), "950");
        EXPECT_EQ(keyboard(), child<QWidget>(table, "Command1"));  // ready to spin again
        press(Qt::Key_Tab);  // round to the chips
        EXPECT_EQ(keyboard(), child<QWidget>(table, "Option3"));

        press(Qt::Key_M, Qt::AltModifier);
        press(Qt::Key_R);
        press(Qt::Key_Return);  // "$25", the first bankroll
        EXPECT_EQ(caption(table, "AccountBalance"), "25");
        EXPECT_EQ(boxes.size(), 2);
        press(Qt::Key_M, Qt::AltModifier);
        press(Qt::Key_E);
    });
    EXPECT_EQ(status, 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(table.isNull());
}

TEST(Program, ClosingTheStartWindowEndsTheProgramWithoutATable) {
    Services s;
    spz::Program program(s.table());
    const int status = runProgram(program, [&] { program.startWindow()->close(); });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(program.table(), nullptr);
}

}  // namespace
