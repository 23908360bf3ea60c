#pragma once
// Stand-ins for the table's outside world: pockets chosen by the test, a clock that
// does not move, pauses that return at once and boxes answered without a screen.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QLabel>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "form1.h"
#include "speech.h"

namespace fakes {

// Draws exactly the pockets queued, then 1s.
struct ForcedWheel final : spz::RandomSource {
    std::deque<int> pockets;
    int lastPocket = 0;
    std::function<void()> onDraw;
    void reseed(double) override {}
    float next() override {
        lastPocket = 1;
        if (!pockets.empty()) {
            lastPocket = pockets.front();
            pockets.pop_front();
        }
        if (onDraw) onDraw();
        return static_cast<float>((lastPocket + 1 + 0.5) / 38.0);
    }
};

struct StillClock final : spz::Clock {
    std::chrono::system_clock::time_point now() override { return {}; }
};

// Counts the steps of a spin and lets the test act on any of them, and in the moment
// before the result box, as a screen reader's wait would.
struct StepPause final : spz::Pause {
    int steps = 0;
    std::function<void(int)> onStep;
    std::function<void()> beforeTheBox;
    void sleep(int ms) override {
        EXPECT_EQ(ms, 25);
        ++steps;
        if (onStep) onStep(steps);
    }
    void beforeBox() override {
        if (beforeTheBox) beforeTheBox();
    }
};

struct Boxes final : spz::MessageBoxes {
    std::vector<std::string> shown;
    std::deque<bool> answers;  // for "You Lose. Restart?"; OK when none is queued
    std::function<void(const std::string&)> whileOpen;
    void inform(QWidget*, const QString& prompt) override { open(prompt); }
    bool confirm(QWidget*, const QString& prompt) override {
        open(prompt);
        if (answers.empty()) return true;
        bool a = answers.front();
        answers.pop_front();
        return a;
    }
    int count(const std::string& text) const {
        int n = 0;
        for (const auto& s : shown) n += s == text;
        return n;
    }

private:
    void open(const QString& prompt) {
        shown.push_back(prompt.toStdString());
        if (whileOpen) whileOpen(shown.back());
    }
};

struct Services {
    ForcedWheel wheel;
    StillClock clock;
    StepPause pause;
    Boxes boxes;
    spz::TableServices table() { return {&wheel, &clock, &pause, &boxes}; }
};

// Lets the queued refresh run.
inline void idle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

template <class W = QWidget>
W* child(QObject* root, const char* name) {
    auto* w = root->findChild<W*>(QString::fromLatin1(name));
    EXPECT_TRUE(w) << name;
    return w;
}

inline std::string caption(QObject* root, const char* name) {
    return child<QLabel>(root, name)->text().toStdString();
}

// What a screen reader is told as things happen: the words of each announcement, as
// it knows them when the announcement shows. A reader that keeps names learns new
// words only from a change of the accessible name, which is where they are read.
class Spoken final : public QObject {
public:
    explicit Spoken(QWidget* form) : form_(form) { child<QWidget>(form, "announcer")->installEventFilter(this); }
    // All said so far, the words still waiting included.
    std::vector<std::string> all() {
        spz::speech::sayNow(form_);
        return said_;
    }
    std::string last() {
        const auto a = all();
        return a.empty() ? std::string() : a.back();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            said_.push_back(static_cast<QWidget*>(watched)->accessibleName().toStdString());
        return false;
    }

private:
    QWidget* form_;
    std::vector<std::string> said_;
};

// Exactly one option shows, it is the chip a click stakes, and the balance covers
// it, or it is "CLR".
inline ::testing::AssertionResult chipShownIsInForce(spz::Form1* form) {
    auto* shown = form->findChild<QButtonGroup*>()->checkedButton();
    if (!shown) return ::testing::AssertionFailure() << "no option shown";
    const auto& chip = spz::kChipOptions[static_cast<std::size_t>(shown->objectName().mid(6).toInt() - 1)];
    const auto& t = form->state();
    const double balance = spz::captionValue(caption(form, "AccountBalance"));
    if (t.chipvalue * t.chipfactor != chip.value * chip.factor || (chip.factor && balance < t.ledger.total() + chip.value))
        return ::testing::AssertionFailure() << chip.label << " shown, " << t.chipvalue * t.chipfactor << " staked";
    return ::testing::AssertionSuccess();
}

}  // namespace fakes
