#pragma once
// The table window: the layout, the bets, the chips, the spin, the refresh of the
// displays, new games and the way out. All of a game's state lives here.

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <map>
#include <string_view>

#include "chips.h"
#include "game.h"
#include "outcome.h"
#include "seams.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTimer;

namespace spz {

class Keyboard;
class Shape;
class SolidButton;

struct TableServices {
    RandomSource* random;
    Clock* clock;
    Pause* pause;
    MessageBoxes* boxes;
};

class Form1 final : public QWidget {
    Q_OBJECT

public:
    // Builds the window and starts the first game with startingfunds.
    explicit Form1(TableServices services, QWidget* parent = nullptr);
    ~Form1() override;

    // New game: reseed, bankroll, cleared table and history, the $1 chip.
    void Form_Load();
    // Ends the game: the window closes and unloaded() tells the program.
    void exitprogram();
    void cleartable();
    // Plays one spin, from the progress bar to the cleared table.
    void Command1_Click();
    // One refresh of the displays, the chip step-down and the bankruptcy question.
    void Timer1_Timer();

    const TableState& state() const { return state_; }
    // The table as the screen fit sees it: the client area, the menu bar above it, the
    // scale, and the whole table drawn at another (the menu bar keeps its size).
    static QSize clientTwips();
    int addedHeight() const;
    double scale() const;
    void drawAt(double scale);
    bool spinning() const { return spinning_; }

signals:
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    using Panels = std::map<std::string_view, QGroupBox*>;
    void buildWindow();
    void buildMenu(QMenuBar* bar);
    void buildFelt(QWidget* client);
    Panels buildPanels(QWidget* client);
    void buildChipSelector(QGroupBox* chips);
    void buildSpots(QWidget* client);
    void buildTimers();
    bool animate(const std::function<bool()>& over);
    Pocket draw();
    bool showResult(const Settlement& s, const std::function<bool()>& over);
    void pay();
    void spotClicked(int index);
    void optionSelected(int option);
    enum class Run { Handler, ShowOnly };
    void selectOption(int option, Run run = Run::Handler);
    void requestRefresh();
    void randomizerTick();
    void unload();
    // True once the game this call began in is over: a new game, the exit, or the
    // window gone. Checked after everything that lets other events run.
    bool overSince(unsigned game) const;
    double balance() const;
    double ontable() const;

    TableServices services_;
    TableState state_;
    QWidget* client_ = nullptr;
    QMenuBar* bar_ = nullptr;
    unsigned game_ = 0;
    bool exiting_ = false;
    bool spinning_ = false;
    bool settling_ = false;  // the pocket is drawn and the box not yet closed
    bool asking_ = false;

    std::array<SolidButton*, kSpotCount> spots_{};
    std::array<QPushButton*, kSpotCount> markers_{};
    std::array<QRadioButton*, 6> options_{};
    std::array<Shape*, 6> discs_{};
    QButtonGroup* chipGroup_ = nullptr;
    Keyboard* keyboard_ = nullptr;
    QLabel* AccountBalance = nullptr;
    QLabel* amountontable = nullptr;
    QLabel* remaining = nullptr;
    QLabel* amountbet = nullptr;
    QLabel* lblreturn = nullptr;
    QLabel* gain = nullptr;
    QLabel* loss = nullptr;
    QLabel* txtgain = nullptr;
    QLabel* txtloss = nullptr;
    SolidButton* Command1 = nullptr;
    QListWidget* history = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* randomizer = nullptr;
};

}  // namespace spz
