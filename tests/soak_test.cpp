// A long, seeded session of random play on the real widgets: spot clicks, every
// chip, spins, new games and exits in the middle of spins, and every answer to
// every box. After each action the table must still add up.
#include <gtest/gtest.h>

#include <QAction>
#include <QTest>
#include <memory>
#include <random>

#include "payout_oracle.h"
#include "table_fakes.h"

using namespace fakes;

namespace {

constexpr unsigned kSeed = 20261208;
constexpr int kActions = 20000;

class Soak {
public:
    Soak() : rng_(kSeed) {
        services_.wheel.onDraw = [this] { onDraw(); };
        services_.pause.onStep = [this](int) { duringSpin(); };
        services_.boxes.whileOpen = [this](const std::string& text) { whileBoxOpen(text); };
        open();
    }

    void run() {
        for (int i = 0; i < kActions && !::testing::Test::HasFatalFailure(); ++i) {
            act();
            idle();
            if (!form_->isVisible()) open();  // the player left; a new session begins
            check();
            if (::testing::Test::HasFailure()) {
                ADD_FAILURE() << "after action " << i << " (seed " << kSeed << ")";
                return;
            }
        }
        EXPECT_GT(settled_, 500);
        EXPECT_GT(abandoned_, 20);
        EXPECT_GT(restarts_, 5);
        EXPECT_GT(exits_, 5);
    }

private:
    int roll(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    void open() {
        static const spz::Money bankrolls[] = {25, 50, 100, 500};
        spz::startingfunds = bankrolls[roll(4)];
        form_.reset();
        form_ = std::make_unique<spz::Form1>(services_.table());
        form_->show();
        idle();
    }

    QAbstractButton* button(const std::string& name) { return child<QAbstractButton>(form_.get(), name.c_str()); }
    double balance() { return spz::captionValue(caption(form_.get(), "AccountBalance")); }

    void clickSpot() {
        QTest::mouseClick(button(std::string(spz::kBetSpots[static_cast<std::size_t>(roll(spz::kSpotCount))].button)),
                          Qt::LeftButton);
    }
    void clickChip() { QTest::mouseClick(button("Option" + std::to_string(1 + roll(6))), Qt::LeftButton); }
    void newGame() {
        static const char* items[] = {"r20", "r50", "r100", "r500"};
        child<QAction>(form_.get(), items[roll(4)])->trigger();
    }
    void leave() {
        ++exits_;
        if (roll(2))
            child<QAction>(form_.get(), "exitgame")->trigger();
        else
            form_->close();
    }

    void act() {
        const int r = roll(100);
        if (r < 70)
            clickSpot();
        else if (r < 88)
            clickChip();
        else if (r < 96)
            spin();
        else if (r < 99)
            newGame();
        else
            leave();
    }

    // The player keeps playing while the bar runs, and now and then walks away.
    void duringSpin() {
        if (!inSpin_ || !form_->isVisible()) return;
        const int r = roll(1000);
        if (r < 20) clickSpot();
        else if (r < 25) clickChip();
        else if (r < 27) {
            gameChanged_ = true;
            newGame();
        } else if (r < 28) {
            gameChanged_ = true;
            leave();
        }
    }

    void whileBoxOpen(const std::string& text) {
        if (text == "You Lose. Restart?") {
            const bool ok = roll(4) != 0;
            services_.boxes.answers = {ok};
            if (ok) ++restarts_;
            else ++exits_;
        }
    }

    void spin() {
        services_.wheel.pockets = {roll(38) - 1};
        drawn_ = false;
        gameChanged_ = false;
        inSpin_ = true;
        const double before = balance();
        QTest::mouseClick(button("Command1"), Qt::LeftButton);
        inSpin_ = false;
        if (!drawn_ || gameChanged_ || !form_->isVisible()) {
            ++abandoned_;
            EXPECT_FALSE(form_->spinning());
            // Cut off by a new game, the spin never settles into it.
            if (gameChanged_ && form_->isVisible()) {
                EXPECT_EQ(balance(), spz::startingfunds);
            }
            return;
        }
        // Settled: the balance moved by exactly the return less the stakes.
        EXPECT_EQ(balance(), before + expectedReturn_ - expectedStaked_) << "pocket " << drawnPocket_;
        EXPECT_EQ(form_->state().ledger.total(), 0);
        EXPECT_EQ(form_->state().payout, 0);
        ++settled_;
    }

    // The pocket is drawn from the ledger as it stands after the animation.
    void onDraw() {
        drawn_ = true;
        drawnPocket_ = services_.wheel.lastPocket;
        expectedReturn_ = 0;
        expectedStaked_ = 0;
        for (int i = 0; i < spz::kSpotCount; ++i) {
            const int stake = form_->state().ledger[i];
            expectedStaked_ += stake;
            expectedReturn_ += static_cast<double>(stake) *
                               oracle::grossReturn(std::string(spz::kBetSpots[static_cast<std::size_t>(i)].button), drawnPocket_);
        }
    }

    void check() {
        const auto& ledger = form_->state().ledger;
        int total = 0;
        for (int i = 0; i < spz::kSpotCount; ++i) {
            const int stake = ledger[i];
            total += stake;
            ASSERT_GE(stake, 0);
            auto* marker = child<QPushButton>(form_.get(), std::string(spz::kBetSpots[static_cast<std::size_t>(i)].marker).c_str());
            ASSERT_EQ(marker->isVisible(), stake != 0) << spz::kBetSpots[static_cast<std::size_t>(i)].marker;
            if (stake != 0) {
                ASSERT_EQ(marker->text().toInt(), stake);
            }
        }
        ASSERT_LE(total, spz::kTableLimit);
        ASSERT_EQ(caption(form_.get(), "amountontable"), std::to_string(total));
        ASSERT_TRUE(button("Command1")->isEnabled());

        ASSERT_TRUE(chipShownIsInForce(form_.get()));
    }

    std::mt19937 rng_;
    Services services_;
    std::unique_ptr<spz::Form1> form_;
    bool inSpin_ = false, drawn_ = false, gameChanged_ = false;
    int drawnPocket_ = 0;
    double expectedReturn_ = 0, expectedStaked_ = 0;
    int settled_ = 0, abandoned_ = 0, restarts_ = 0, exits_ = 0;
};

TEST(Soak, TwentyThousandRandomActionsKeepTheTableSound) {
    Soak soak;
    soak.run();
}

}  // namespace
