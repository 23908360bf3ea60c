// The table window driven through its real widgets: bets, chips, spins, refresh,
// new games and the exit.
#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>
#include <QMenuBar>
#include <QListWidget>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <map>
#include <memory>

#include "look.h"
#include "table_fakes.h"

using namespace fakes;
using spz::Form1;

namespace {

// How well the text drawn in a region reads: the region's commonest colour is what
// lies behind, the pixel that stands out most from it is the ink.
double inkContrast(QWidget* w, QRect r = {}) {
    const QImage img = w->grab(r.isNull() ? w->rect() : r).toImage();
    std::map<QRgb, int> counts;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) ++counts[img.pixel(x, y)];
    const QColor back = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                            return a.second < b.second;
                        })->first;
    double best = 1;
    for (const auto& [rgb, n] : counts) best = std::max(best, spz::contrastRatio(back, QColor(rgb)));
    return best;
}

class TableWindow : public ::testing::Test {
protected:
    void open(spz::Money funds) {
        spz::startingfunds = funds;
        form = std::make_unique<Form1>(services.table());
        form->show();
        idle();
    }
    void TearDown() override { form.reset(); }

    QPushButton* spot(const char* name) { return child<QPushButton>(form.get(), name); }
    std::string marker(const char* name) { return child<QPushButton>(form.get(), name)->text().toStdString(); }
    bool shown(const char* name) { return child<QPushButton>(form.get(), name)->isVisible(); }
    void click(const char* name) {
        QTest::mouseClick(spot(name), Qt::LeftButton);
        idle();
    }
    void chip(int option) {
        QTest::mouseClick(child<QRadioButton>(form.get(), ("Option" + std::to_string(option)).c_str()),
                          Qt::LeftButton);
        idle();
    }
    bool checked(int option) {
        return child<QRadioButton>(form.get(), ("Option" + std::to_string(option)).c_str())->isChecked();
    }
    void spin(int pocket) {
        services.wheel.pockets.push_back(pocket);
        QTest::mouseClick(spot("Command1"), Qt::LeftButton);
        idle();
    }
    void menu(const char* item) {
        child<QAction>(form.get(), item)->trigger();
        idle();
    }
    std::string label(const char* name) { return caption(form.get(), name); }
    QColor fore(const char* name) {
        return child<QLabel>(form.get(), name)->palette().color(QPalette::WindowText);
    }
    QStringList history() {
        QStringList lines;
        auto* list = child<QListWidget>(form.get(), "history");
        for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
        return lines;
    }

    Services services;
    std::unique_ptr<Form1> form;
};

TEST_F(TableWindow, StakesFollowTheChipInForce) {
    open(500);
    EXPECT_FALSE(shown("chipred1"));
    chip(3);
    click("red1");
    EXPECT_TRUE(shown("chipred1"));
    EXPECT_EQ(marker("chipred1"), "25");
    chip(4);
    click("red1");
    EXPECT_EQ(marker("chipred1"), "125");
    EXPECT_EQ(form->state().ledger[0], 125);
    EXPECT_EQ(label("amountontable"), "125");
    EXPECT_EQ(label("remaining"), "375");

    // The marker shows over the spot, but a click on it reaches the spot beneath.
    QWidget* table = spot("red1")->parentWidget();
    const QPoint onMarker = child<QWidget>(form.get(), "chipred1")->geometry().center();
    EXPECT_EQ(table->childAt(onMarker), spot("red1"));
}

TEST_F(TableWindow, AClickOnAChipDiscChoosesIt) {
    open(500);
    auto* chips = child<QWidget>(form.get(), "selectChip");
    const auto discs = chips->findChildren<QWidget*>("Shape8");
    ASSERT_EQ(discs.size(), 6);
    const QPoint onLabel = discs[2]->geometry().center();  // under the "$25" caption
    QWidget* hit = chips->childAt(onLabel);
    ASSERT_EQ(hit, discs[2]);
    QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(chips, onLabel));
    idle();
    EXPECT_TRUE(checked(3));
    EXPECT_EQ(form->state().chipvalue, 25);
}

TEST_F(TableWindow, ClearChipWipesOneSpotAndItsMarkerGoesAtTheNextRefresh) {
    open(500);
    chip(3);
    click("red");
    click("black2");
    chip(6);
    QTest::mouseClick(spot("red"), Qt::LeftButton);
    EXPECT_EQ(marker("chipred"), "0");  // shown until the refresh runs
    EXPECT_TRUE(shown("chipred"));
    QTest::mouseClick(spot("zero"), Qt::LeftButton);  // a spot that never held a stake
    EXPECT_TRUE(shown("chipzero"));
    idle();
    EXPECT_FALSE(shown("chipred"));
    EXPECT_FALSE(shown("chipzero"));
    EXPECT_EQ(marker("chipblack2"), "25");
    EXPECT_EQ(form->state().ledger[37], 0);
    EXPECT_EQ(label("amountontable"), "25");
}

TEST_F(TableWindow, TheTableLimitRefusesABetAndKeepsTheMarker) {
    open(32767);
    Spoken spoken(form.get());
    chip(5);
    // All between two refreshes, so the chip stays $500 throughout.
    for (int i = 0; i < 66; ++i) spot("black17")->click();
    EXPECT_EQ(marker("chipblack17"), "32500");
    EXPECT_EQ(form->state().ledger[16], 32500);
    EXPECT_EQ(spoken.all(), std::vector<std::string>{"17, refused: over the table limit of 32767"});
    idle();
    chip(1);
    for (int i = 0; i < 300; ++i) spot("red")->click();
    EXPECT_EQ(marker("chipred"), "267");
    idle();
    EXPECT_EQ(label("amountontable"), "32767");
    EXPECT_EQ(label("remaining"), "0");
    services.wheel.pockets.push_back(17);
    form->Command1_Click();
    EXPECT_EQ(label("lblreturn"), "1170000");
    EXPECT_EQ(label("AccountBalance"), "1170000");
}

TEST_F(TableWindow, TheChipShownIsTheChipInForce) {
    open(1000);
    chip(5);
    EXPECT_EQ(form->state().chipvalue, 500);  // $1 was in force, and is covered
    EXPECT_TRUE(services.boxes.shown.empty());

    // A new game starts on $1 whatever chip the last one ended with, without a word.
    chip(4);
    menu("r20");
    EXPECT_TRUE(services.boxes.shown.empty());
    EXPECT_TRUE(checked(1));
    EXPECT_TRUE(chipShownIsInForce(form.get()));

    // A chip chosen just as a lost spin leaves 130 with the $100 still in force: the
    // $25 handler complains, then the chosen chip's own handler: $1 does, $500 not.
    for (auto [option, boxes] : {std::pair{1, 2}, std::pair{5, 1}}) {
        services.boxes.shown.clear();
        spz::startingfunds = 230;
        form->Form_Load();
        chip(4);
        click("red");
        services.wheel.pockets.push_back(2);
        form->Command1_Click();
        QTest::mouseClick(child<QRadioButton>(form.get(), ("Option" + std::to_string(option)).c_str()), Qt::LeftButton);
        EXPECT_EQ(services.boxes.count("Insufficient Funds!"), boxes) << option;
        idle();
        EXPECT_TRUE(chipShownIsInForce(form.get())) << option;
    }
}

TEST_F(TableWindow, RefreshStepsTheChipDown) {
    open(100);
    Spoken spoken(form.get());
    chip(5);  // covered by the $1 in force, so $500 is taken
    // ...but the refresh finds 100 < 500: $100, and its handler always says so.
    EXPECT_TRUE(checked(4));
    EXPECT_EQ(services.boxes.count("Insufficient Funds!"), 1);
    EXPECT_EQ(form->state().chipvalue, 100);
    EXPECT_EQ(form->state().autoselect, 0);
    EXPECT_EQ(spoken.last(), "Chip stepped down to $100");

    // With the $100 on the table nothing more is covered: "CLR", silently, and the
    // keyboard stays on the spot it bet from.
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    spot("red")->setFocus();
    QTest::keyClick(spot("red"), Qt::Key_Space);
    idle();
    EXPECT_EQ(QApplication::focusWidget(), spot("red"));
    EXPECT_TRUE(checked(6));
    EXPECT_EQ(form->state().chipvalue, 0);
    EXPECT_EQ(form->state().autoselect, 1);
    EXPECT_EQ(services.boxes.count("Insufficient Funds!"), 1);
    EXPECT_EQ(spoken.all(), (std::vector<std::string>{"Chip stepped down to $100", "Red, 100 on it. Chip stepped down to CLR"}));
}

TEST_F(TableWindow, RefreshStepsDownSilentlyForTheSmallChips) {
    open(100);
    chip(3);
    click("red1");
    click("red1");
    click("red1");
    chip(2);
    click("black2");  // 80 on the table
    chip(3);          // 100 >= 80 + 5: taken; then the refresh finds 100 < 105
    EXPECT_TRUE(checked(2));
    EXPECT_EQ(form->state().chipvalue, 5);
    EXPECT_TRUE(services.boxes.shown.empty());
    EXPECT_EQ(label("remaining"), "20");
}

TEST_F(TableWindow, BetsBeyondTheBankrollLeaveOnlyTheClearChip) {
    open(100);
    chip(3);
    for (int i = 0; i < 6; ++i) spot("red1")->click();  // all between two refreshes
    idle();
    EXPECT_EQ(label("remaining"), "-50");
    EXPECT_TRUE(checked(6));
    EXPECT_TRUE(chipShownIsInForce(form.get()));

    // No chip fits: choosing one shows it only until the refresh takes it back to
    // "CLR", silently, and a click then wipes the spot.
    for (int option : {3, 4}) {
        chip(option);
        EXPECT_TRUE(checked(6)) << option;
        EXPECT_TRUE(chipShownIsInForce(form.get()));
    }
    EXPECT_TRUE(services.boxes.shown.empty());

    // The refresh picks "CLR" again on every pass, and that is said to no one.
    spz::speech::sayNow(form.get());
    Spoken spoken(form.get());
    for (int pass = 0; pass < 3; ++pass) form->Timer1_Timer();
    idle();
    EXPECT_TRUE(spoken.all().empty()) << spoken.last();

    click("red1");
    EXPECT_EQ(form->state().ledger[0], 0);
    EXPECT_FALSE(shown("chipred1"));
}

TEST_F(TableWindow, AWinPaysAndClearsTheTable) {
    open(125);
    chip(3);
    click("black2");
    spin(1);  // a loss first: its figure must not stand beside the win
    services.boxes.shown.clear();
    click("red");
    std::string balanceDuringBox, lossDuringBox;
    services.boxes.whileOpen = [&](const std::string&) {
        balanceDuringBox = label("AccountBalance");
        lossDuringBox = label("loss");
    };
    spin(3);
    EXPECT_EQ(services.boxes.shown, std::vector<std::string>{"You Won $ 25"});
    EXPECT_EQ(balanceDuringBox, "100");
    EXPECT_EQ(lossDuringBox, "0");
    EXPECT_EQ(label("remaining"), "125");
    EXPECT_EQ(label("AccountBalance"), "125");
    EXPECT_EQ(label("amountbet"), "25");
    EXPECT_EQ(label("lblreturn"), "50");
    EXPECT_EQ(label("gain"), "25");
    EXPECT_EQ(label("loss"), "0");
    EXPECT_EQ(fore("txtgain"), spz::colour(spz::layout::Role::ButtonText));
    EXPECT_EQ(fore("txtloss"), spz::colour(spz::layout::Role::GrayText));
    EXPECT_EQ(history(), (QStringList{"     1", "     3"}));
    EXPECT_FALSE(shown("chipred"));
    EXPECT_EQ(marker("chipred"), "");
    EXPECT_EQ(form->state().ledger.total(), 0);
    EXPECT_EQ(form->state().payout, 0);
    EXPECT_TRUE(spot("Command1")->isEnabled());
    EXPECT_EQ(child<QProgressBar>(form.get(), "ProgressBar1")->value(), 100);
    EXPECT_EQ(services.pause.steps, 200);
}

TEST_F(TableWindow, LossesBreakEvenAndTheGreenPockets) {
    open(100);
    chip(2);
    click("red");
    click("black");
    spin(1);  // 10 staked, 10 back
    EXPECT_EQ(services.boxes.shown.back(), "You Lost $ 0");
    EXPECT_EQ(fore("txtloss"), spz::colour(spz::layout::Role::ButtonText));
    EXPECT_EQ(fore("txtgain"), spz::colour(spz::layout::Role::GrayText));
    EXPECT_EQ(label("AccountBalance"), "100");

    click("even");
    spin(0);  // 0 pays the even bet
    EXPECT_EQ(services.boxes.shown.back(), "You Won $ 5");
    click("odd");
    click("doublezero");
    spin(-1);  // 00 pays odd and the straight bet on 00
    EXPECT_EQ(label("lblreturn"), "190");
    EXPECT_EQ(label("AccountBalance"), "285");
    click("black8");
    std::vector<int> firstSteps;  // every spin runs its bar from the start
    auto* bar = child<QProgressBar>(form.get(), "ProgressBar1");
    services.pause.onStep = [&](int step) {
        if (step % 100 == 1) firstSteps.push_back(bar->value());
    };
    spin(7);
    EXPECT_EQ(services.boxes.shown.back(), "You Lost $ 5");
    EXPECT_EQ(fore("txtgain"), spz::colour(spz::layout::Role::GrayText));  // grey again after the wins
    EXPECT_EQ(fore("txtloss"), spz::colour(spz::layout::Role::ButtonText));
    spin(8);  // nothing on the table
    EXPECT_EQ(services.boxes.shown.back(), "You Lost $ 0");
    EXPECT_EQ(label("amountbet"), "0");
    EXPECT_EQ(label("AccountBalance"), "280");
    EXPECT_EQ(history(), (QStringList{"     1", "0", "00", "     7", "           8"}));
    EXPECT_EQ(label("remaining"), "280");  // the whole balance: nothing is on the table
    EXPECT_EQ(firstSteps, (std::vector<int>{1, 1}));

    // Each line in its pocket's colour, and the newest always in view.
    auto* list = child<QListWidget>(form.get(), "history");
    const QColor red(0xC00000), black(Qt::black), green(0x007000);
    const std::vector<QColor> colours{red, green, green, red, black};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(list->item(i)->foreground().color(), colours[static_cast<std::size_t>(i)]) << i;
    for (int i = 0; i < 35; ++i) spin(i % 36 + 1);
    ASSERT_EQ(list->count(), 40);
    // Heard newest first, so the last pocket is always among those said.
    EXPECT_TRUE(list->accessibleDescription().startsWith(QStringLiteral("35 black, 34 red, 33 black")));
    EXPECT_TRUE(list->viewport()->rect().contains(list->visualItemRect(list->item(39))));
}

TEST_F(TableWindow, ABetPlacedDuringTheSpinBelongsToIt) {
    open(100);
    services.pause.onStep = [&](int step) {
        if (step == 50) {
            // Out of use, and heard so, yet enabled: the focus never leaves it.
            auto* button = static_cast<spz::SolidButton*>(spot("Command1"));
            EXPECT_FALSE(button->available());
            EXPECT_TRUE(button->isEnabled());
            EXPECT_TRUE(QAccessible::queryAccessibleInterface(button)->state().disabled);
            QTest::mouseClick(button, Qt::LeftButton);  // no second spin
            QTest::mouseClick(spot("red5"), Qt::LeftButton);
        }
    };
    spin(5);
    EXPECT_EQ(label("amountbet"), "1");
    EXPECT_EQ(services.boxes.shown, std::vector<std::string>{"You Won $ 35"});
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(spot("Command1"))->state().disabled);
    EXPECT_EQ(label("AccountBalance"), "135");

    // Once the pocket is drawn no chip goes down until the box has closed: it would be
    // swept off with the settled ones, unpaid. Every stake shown is one the spin settled.
    services.pause.onStep = nullptr;
    click("red7");
    services.pause.beforeTheBox = [&] {
        click("red9");
        QTest::keyClick(spot("red7"), Qt::Key_Return);
        EXPECT_FALSE(shown("chipred9"));
        EXPECT_EQ(marker("chipred7"), "1");
    };
    spin(7);
    EXPECT_EQ(label("amountbet"), "1");
    EXPECT_EQ(form->state().ledger.total(), 0);
    EXPECT_EQ(label("AccountBalance"), "170");
    click("red9");  // and the next spin takes bets again
    EXPECT_EQ(marker("chipred9"), "1");
}

TEST_F(TableWindow, NewGameDropsTheTable) {
    spz::startingfunds = 500;
    form = std::make_unique<Form1>(services.table());
    form->show();
    Spoken spoken(form.get());
    EXPECT_EQ(spoken.last(), "New game, balance 500");  // the first game is heard too
    chip(3);
    click("red1");
    spin(2);
    click("red1");
    spoken.all();  // the bet, said before the new game
    for (int round = 0; round < 2; ++round) {
        menu("r20");
        EXPECT_EQ(spoken.last(), "New game, balance 25");
        EXPECT_EQ(label("AccountBalance"), "25");
        for (const char* name : {"amountontable", "amountbet", "lblreturn", "gain", "loss"})
            EXPECT_EQ(label(name), "0") << name;
        EXPECT_EQ(label("remaining"), "25");  // the new bankroll, nothing on the table
        EXPECT_TRUE(history().isEmpty());
        EXPECT_FALSE(shown("chipred1"));
        EXPECT_EQ(form->state().ledger.total(), 0);
    }
    EXPECT_EQ(spz::startingfunds, 25);
}

TEST_F(TableWindow, BrokeThePlayerIsAskedOnceAndOkStartsAgain) {
    open(25);
    chip(3);
    click("black2");
    services.boxes.whileOpen = [&](const std::string& text) {
        if (text == "You Lose. Restart?") {
            form->Timer1_Timer();  // the refresh running on under the open question
            idle();
        }
    };
    spin(1);
    EXPECT_EQ(services.boxes.count("You Lose. Restart?"), 1);
    EXPECT_EQ(label("AccountBalance"), "25");
    EXPECT_TRUE(history().isEmpty());
    EXPECT_TRUE(form->isVisible());
}

TEST_F(TableWindow, BrokeAndCancelEndsTheGame) {
    open(25);
    QSignalSpy unloaded(form.get(), &Form1::unloaded);
    chip(3);
    click("black2");
    services.boxes.answers = {false};
    spin(1);
    EXPECT_EQ(services.boxes.count("You Lose. Restart?"), 1);
    EXPECT_EQ(unloaded.count(), 1);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(TableWindow, NewGameInTheMiddleOfASpinAbandonsIt) {
    open(100);
    chip(2);
    click("red3");
    services.pause.onStep = [&](int step) {
        if (step == 40) child<QAction>(form.get(), "r50")->trigger();
    };
    spin(3);
    EXPECT_TRUE(services.boxes.shown.empty());
    EXPECT_TRUE(history().isEmpty());
    EXPECT_EQ(label("AccountBalance"), "50");
    EXPECT_TRUE(spot("Command1")->isEnabled());
    EXPECT_EQ(form->state().payout, 0);
    EXPECT_EQ(services.wheel.pockets.size(), 1u);  // nothing was drawn
    services.pause.onStep = nullptr;
    click("red3");
    spin(3);
    EXPECT_EQ(services.boxes.shown.back(), "You Won $ 35");
    EXPECT_EQ(label("AccountBalance"), "85");

    // Even once the pocket is drawn, in the moment before the box: no box, no pay.
    services.pause.beforeTheBox = [&] { child<QAction>(form.get(), "r20")->trigger(); };
    click("red3");
    spin(3);
    EXPECT_EQ(services.boxes.shown.size(), 1u);
    EXPECT_EQ(label("AccountBalance"), "25");
    EXPECT_TRUE(history().isEmpty());
}

TEST_F(TableWindow, ExitInTheMiddleOfASpinStopsEverything) {
    for (bool byMenu : {true, false}) {
        services = {};
        open(100);
        QSignalSpy unloaded(form.get(), &Form1::unloaded);
        services.pause.onStep = [&](int step) {
            if (step != 10) return;
            if (byMenu)
                child<QAction>(form.get(), "exitgame")->trigger();
            else
                form->close();  // the frame, or the keyboard
        };
        spin(3);
        EXPECT_EQ(services.pause.steps, 10);
        EXPECT_TRUE(services.boxes.shown.empty());
        EXPECT_EQ(unloaded.count(), 1);
        EXPECT_FALSE(form->isVisible());
        EXPECT_TRUE(history().isEmpty());
    }
}

// A ring only where the keyboard is, and only once the player uses it.
TEST_F(TableWindow, TheFocusRingShowsOnlyForTheKeyboard) {
    open(500);
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    auto rings = [&] {
        QStringList on;
        for (auto* s : form->findChildren<spz::Shape*>("Shape8"))
            if (s->ring()) on << s->objectName() + s->property("Index").toString();
        for (auto* b : form->findChildren<spz::SolidButton*>())
            if (b->ring()) on << b->objectName();
        return on;
    };
    auto press = [](Qt::Key key, Qt::KeyboardModifiers with = {}) {
        QTest::keyClick(QApplication::focusWidget(), key, with);
        idle();
    };
    chip(3);
    click("red1");
    spin(2);
    EXPECT_EQ(rings(), QStringList{});
    // The focus went with the chip the mouse chose, so the keys go on from there.
    EXPECT_EQ(QApplication::focusWidget(), child<QWidget>(form.get(), "Option3"));
    press(Qt::Key_Left);
    EXPECT_EQ(rings(), QStringList{"Shape81"});
    press(Qt::Key_Tab);
    EXPECT_EQ(rings(), QStringList{"red1"});
    click("black2");  // a mouse press hides it until the next key
    EXPECT_EQ(rings(), QStringList{});
    // Nor does a modifier alone, a shift-click's, say (Alt twice: the first takes the
    // menu bar, the second gives the table back).
    for (Qt::Key alone : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Meta, Qt::Key_Alt, Qt::Key_Alt}) {
        press(alone);
        EXPECT_EQ(rings(), QStringList{});
    }
    press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(rings(), QStringList{"Shape81"});
}

// The spin's pause keeps the window answering: what is due runs while it waits.
TEST(SpinPause, ServesTheWindowWhileItWaits) {
    spz::LoopPause pause;
    bool served = false;
    QTimer::singleShot(0, [&] { served = true; });
    pause.begin();
    pause.sleep(20);
    EXPECT_TRUE(served);
}

TEST_F(TableWindow, AWindowDeletedMidSpinIsNotTouched) {
    open(100);
    form->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<Form1> watch = form.get();
    Form1* raw = form.release();
    services.pause.onStep = [&](int step) {
        if (step == 5) delete raw;  // gone while the spin is suspended
    };
    services.wheel.pockets.push_back(1);
    raw->Command1_Click();
    EXPECT_TRUE(watch.isNull());
    EXPECT_TRUE(services.boxes.shown.empty());
}

// Every text in the window, measured from what is drawn, on a light and a dark desktop.
TEST_F(TableWindow, EveryTextReadsOnLightAndDarkDesktops) {
    const QPalette desktop = QApplication::palette();
    QPalette dark(Qt::white, QColor(0x35, 0x35, 0x35), QColor(0x50, 0x50, 0x50), QColor(0x20, 0x20, 0x20),
                  QColor(0x2a, 0x2a, 0x2a), Qt::white, Qt::white, QColor(0x2a, 0x2a, 0x2a), QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    for (const QPalette& scheme : {desktop, dark}) {
        QApplication::setPalette(scheme);
        services = {};
        open(500);
        std::map<std::string, double> read;
        auto* chips = child<QGroupBox>(form.get(), "selectChip");
        for (QLabel* l : chips->findChildren<QLabel*>("Label1")) read["chip " + l->text().toStdString()] = inkContrast(chips, l->geometry());
        for (const char* name : {"Label3", "Label2", "AccountBalance", "Label7", "remaining", "Label5", "lblreturn"})
            read[name] = inkContrast(child<QWidget>(form.get(), name));
        for (QGroupBox* box : form->findChildren<QGroupBox*>())
            read["panel " + box->title().toStdString()] = inkContrast(box, {0, 0, box->width(), box->fontMetrics().height()});
        auto* bar = form->findChild<QMenuBar*>();
        read["menu bar"] = inkContrast(bar, bar->actionGeometry(bar->actions().value(0)));
        chip(4);
        click("red");
        read["marker"] = inkContrast(child<QWidget>(form.get(), "chipred"));
        const double greyed = inkContrast(child<QWidget>(form.get(), "txtgain"));
        EXPECT_GE(greyed, 3.0);
        for (int pocket : {1, 2, 0}) spin(pocket);  // red, black, green; the last a loss
        EXPECT_LT(greyed + 3, inkContrast(child<QWidget>(form.get(), "txtloss")));  // the one that moved stands out
        auto* list = child<QListWidget>(form.get(), "history");
        for (int i = 0; i < list->count(); ++i)
            read["history " + list->item(i)->text().trimmed().toStdString()] =
                inkContrast(list->viewport(), list->visualItemRect(list->item(i)));
        for (const auto& [text, ratio] : read) EXPECT_GE(ratio, 4.5) << text << (scheme == dark ? " dark" : " light");
        form.reset();
    }
    QApplication::setPalette(desktop);
}

}  // namespace
