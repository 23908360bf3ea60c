#include "form1.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

#include "keyboard.h"
#include "look.h"
#include "speech.h"

namespace spz {

using namespace layout;

namespace {

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
std::string text(const QLabel* l) { return l->text().toStdString(); }

void setColour(QWidget* w, QPalette::ColorRole role, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(role, c);
    w->setPalette(p);
}
void setFore(QWidget* w, const QColor& c) { setColour(w, QPalette::WindowText, c); }

constexpr bool outerSpotsInLedgerOrder() {
    for (int i = 0; i < 14; ++i)
        if (kOuterSpots[static_cast<std::size_t>(i)].button != kBetSpots[static_cast<std::size_t>(36 + i)].button)
            return false;
    return true;
}
static_assert(outerSpotsInLedgerOrder());

struct MenuItem {
    const char* name;
    const char* caption;
    Money bankroll;
};
constexpr MenuItem kBankrolls[] = {{"r20", "$25", 25}, {"r50", "$50", 50}, {"r100", "$100", 100}, {"r500", "$500", 500}};

}  // namespace

Form1::Form1(TableServices services, QWidget* parent) : QWidget(parent), services_(services) {
    buildWindow();
    speech::attach(this);  // first, so the first game is heard with its balance too
    Form_Load();
    chipGroup_->checkedButton()->setFocus();  // the keyboard starts at the chips
}

// The keyboard watches the chips and spots: it goes before they do, so that none of
// their last events reaches it.
Form1::~Form1() { delete keyboard_; }

void Form1::buildWindow() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    // No sizing frame and no window buttons: the table is one fixed layout.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setPalette(tablePalette());  // before any control takes its colours from it
    setTableScale(1);  // the layout's own size until the screen says otherwise
    setTableFont(this, kDefaultFont);

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(0);
    top->setSizeConstraint(QLayout::SetFixedSize);
    auto* bar = bar_ = new QMenuBar(this);
    bar->setFont(QApplication::font());  // the desktop's menu face, not the table's
    buildMenu(bar);
    top->setMenuBar(bar);
    auto* client = client_ = new QWidget(this);
    client->setFixedSize(pixels(kClient).size());
    top->addWidget(client);

    // Created back to front: felt, then legend and plain labels, then panels, list and
    // bar, then the spots, and the markers in front of them.
    buildFelt(client);
    const Panels panels = buildPanels(client);
    buildChipSelector(panels.at("selectChip"));
    buildSpots(client);
    buildTimers();
    keyboard_ = new Keyboard(this, {chipGroup_, options_, discs_, spots_, Command1});
}

QSize Form1::clientTwips() { return {kClient.width, kClient.height}; }
int Form1::addedHeight() const { return bar_->sizeHint().height(); }
double Form1::scale() const { return tableScale(); }

void Form1::drawAt(double scale) {
    setTableScale(scale);
    placeAgain(this);
    client_->setFixedSize(pixels(kClient).size());
    layout()->activate();
}

void Form1::buildFelt(QWidget* client) {
    for (const ShapeSpec& s : kFelt) new Shape(client, s);
    for (const ShapeSpec& s : kLegend) new Shape(client, s);
    auto* title = new QLabel(QStringLiteral("History"), client);
    title->setObjectName(QStringLiteral("Label3"));
    place(title, kHistoryTitle);
    setTableFont(title, kPanelTitleFont);
    title->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    paintOpaque(title);
}

Form1::Panels Form1::buildPanels(QWidget* client) {
    Panels frames;
    for (const FrameSpec& f : kFrames) {
        auto* box = new QGroupBox(qs(f.caption), client);
        box->setObjectName(qs(f.name));
        place(box, {kFrameLeft, f.top, kFrameWidth, f.height});
        setTableFont(box, kPanelTitleFont);
        if (f.back != Role::None) {
            setColour(box, QPalette::Window, colour(f.back));
            box->setAutoFillBackground(true);
        }
        frames[f.name] = box;
    }

    const std::map<std::string_view, QLabel**> values = {
        {"AccountBalance", &AccountBalance}, {"amountontable", &amountontable}, {"remaining", &remaining},
        {"amountbet", &amountbet},           {"lblreturn", &lblreturn},         {"gain", &gain},
        {"loss", &loss},                     {"txtgain", &txtgain},             {"txtloss", &txtloss}};
    for (const ItemSpec& item : kPanelItems) {
        QGroupBox* frame = frames.at(item.frame);
        switch (item.kind) {
            case Kind::Line: new Line(frame, item.at, 1); break;
            case Kind::Button: {
                Command1 = new SolidButton(qs(item.caption), frame);
                Command1->setObjectName(qs(item.name));
                place(Command1, item.at);
                setTableFont(Command1, item.font);
                connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
                break;
            }
            case Kind::Label:
            case Kind::Value: {
                QLabel* label = item.kind == Kind::Value ? new FigureLabel(qs(item.caption), frame)
                                                         : new QLabel(qs(item.caption), frame);
                label->setObjectName(qs(item.name));
                place(label, item.at);
                setTableFont(label, item.font);
                // Captions hang from the top of the label, so the rules run under them.
                label->setAlignment((item.kind == Kind::Value ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
                if (item.fore != Role::None) setFore(label, colour(item.fore));
                if (item.foreRgb != kNoColour) setFore(label, colour(item.foreRgb));
                paintOpaque(label);  // so the balance panel shows its "$" and figure on light fields
                if (auto it = values.find(item.name); it != values.end()) *it->second = label;
                break;
            }
        }
    }

    history = new QListWidget(client);
    history->setObjectName(QStringLiteral("history"));
    place(history, kHistory);
    setTableFont(history, kHistoryFont);
    // The list is only as wide as one deep black line: no bars to take that width.
    // The newest pocket is always scrolled into view; the wheel reaches the rest.
    history->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    history->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    history->setTextElideMode(Qt::ElideNone);
    history->setSelectionMode(QAbstractItemView::NoSelection);
    history->setFocusPolicy(Qt::NoFocus);
    setColour(history, QPalette::Base, colour(Role::Light3D));

    ProgressBar1 = new QProgressBar(client);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    place(ProgressBar1, kProgressBar);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    return frames;
}

void Form1::buildChipSelector(QGroupBox* chips) {
    chipGroup_ = new QButtonGroup(this);
    for (int k = 0; k < 6; ++k) {
        const auto& look = kChipLooks[static_cast<std::size_t>(k)];
        auto* disc = new Shape(chips, {"Shape8", chipDisc(k), look.disc, true, true});
        disc->setProperty("Index", k);
        // A click on the chip itself chooses it, as its option button does.
        disc->onClick([this, k] { options_[static_cast<std::size_t>(k)]->click(); });
        discs_[static_cast<std::size_t>(k)] = disc;
        auto* label = new QLabel(qs(kChipOptions[static_cast<std::size_t>(k)].label), chips);
        label->setObjectName(QStringLiteral("Label1"));
        label->setProperty("Index", k);
        place(label, chipLabel(k));
        setTableFont(label, kChipLabelFont);
        label->setAlignment(Qt::AlignCenter);  // centred on the disc whatever the face's widths
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        // The disc's colour is the layout's: its label takes the ink that reads on it.
        setFore(label, look.labelFore != Role::None ? colour(look.labelFore) : captionOn(colour(look.disc)));
    }
    for (int k = 0; k < 6; ++k) {
        auto* option = new OptionButton(QStringLiteral("Option1"), chips);
        option->setObjectName(QStringLiteral("Option%1").arg(k + 1));
        place(option, chipOption(k));
        setTableFont(option, kDefaultFont);
        option->setAccessibleName(qs(kChipOptions[static_cast<std::size_t>(k)].label));
        chipGroup_->addButton(option, k + 1);
        connect(option, &QRadioButton::toggled, this, [this, k](bool on) {
            if (on) optionSelected(k + 1);
        });
        options_[static_cast<std::size_t>(k)] = option;
    }
}

void Form1::buildSpots(QWidget* client) {
    for (int i = 0; i < kSpotCount; ++i) {
        const BetSpot& spot = kBetSpots[static_cast<std::size_t>(i)];
        const Rgb face = i < 36 ? (isRed(i + 1) ? kRed : kDarkGrey) : kOuterSpots[static_cast<std::size_t>(i - 36)].face;
        auto* b = new SolidButton(qs(spot.caption), client, colour(face));
        b->setObjectName(qs(spot.button));
        place(b, spotTwips(i));
        setTableFont(b, i < 36 ? kNumberFont : kOuterSpots[static_cast<std::size_t>(i - 36)].font);
        QString name = qs(spot.caption);
        if (name.isEmpty()) name = qs(spot.spot).left(1).toUpper() + qs(spot.spot).mid(1);
        b->setAccessibleName(name);
        b->setAccessibleDescription(qs(paysText(spot.family)));
        b->setToolTip(qs(paysText(spot.family)));
        connect(b, &QPushButton::clicked, this, [this, i] { spotClicked(i); });
        spots_[static_cast<std::size_t>(i)] = b;
    }
    for (int i = 0; i < kSpotCount; ++i) {
        auto* m = new ChipMarker(client, markerOn(spotTwips(i), i));
        m->setObjectName(qs(kBetSpots[static_cast<std::size_t>(i)].marker));
        markers_[static_cast<std::size_t>(i)] = m;
    }
}

void Form1::buildTimers() {
    // The refresh runs once after anything that can change what it shows, rather than
    // polling: an untouched table costs the machine nothing.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(0);
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);

    randomizer = new QTimer(this);
    randomizer->setObjectName(QStringLiteral("randomizer"));
    randomizer->setInterval(10000);
    randomizer->setTimerType(Qt::VeryCoarseTimer);  // may share its wakeup with the desktop's
    connect(randomizer, &QTimer::timeout, this, &Form1::randomizerTick);
    randomizer->start();
}

void Form1::buildMenu(QMenuBar* bar) {
    QMenu* menu = bar->addMenu(QStringLiteral("&Menu"));
    menu->setObjectName(QStringLiteral("menu"));
    QMenu* reset = menu->addMenu(QStringLiteral("&Reset Game"));
    reset->setObjectName(QStringLiteral("resetgame"));
    // The popups take the table's colours and the bar's face, so the table reads as one.
    for (QMenu* popup : {menu, reset}) popup->setAttribute(Qt::WA_WindowPropagation);
    for (const MenuItem& item : kBankrolls) {
        QAction* a = reset->addAction(QString::fromLatin1(item.caption));
        a->setObjectName(QString::fromLatin1(item.name));
        const Money bankroll = item.bankroll;
        connect(a, &QAction::triggered, this, [this, bankroll] {
            startingfunds = bankroll;
            Form_Load();
        });
    }
    QAction* exit = menu->addAction(QStringLiteral("&Exit Game"));
    exit->setObjectName(QStringLiteral("exitgame"));
    connect(exit, &QAction::triggered, this, &Form1::exitprogram);
}

double Form1::balance() const { return captionValue(text(AccountBalance)); }
double Form1::ontable() const { return captionValue(text(amountontable)); }

bool Form1::overSince(unsigned game) const { return exiting_ || game_ != game; }

void Form1::requestRefresh() {
    if (!exiting_) Timer1->start();
}

void Form1::randomizerTick() { state_.seedvalue = seedfromclock(*services_.clock); }

void Form1::cleartable() {
    spz::cleartable(state_);
    for (QPushButton* m : markers_) m->hide();
    for (QPushButton* m : markers_) m->setText(QString());
    speech::changed(this);
}

void Form1::Form_Load() {
    if (exiting_) return;
    ++game_;  // a spin still running belongs to the old game and is dropped
    state_.seedvalue = seedfromclock(*services_.clock);
    services_.random->reseed(state_.seedvalue);
    AccountBalance->setText(QString::number(startingfunds));
    for (QLabel* l : {amountontable, remaining, amountbet, lblreturn, gain, loss}) l->setText(QStringLiteral("0"));
    cleartable();
    history->clear();
    speech::changed(this);
    speech::say(this, QStringLiteral("New game, balance %1").arg(AccountBalance->text()));
    // The $1 chip is in force before Option1 is chosen, so the last game's chip is
    // never judged against the new bankroll.
    state_.chipvalue = kChipOptions[0].value;
    state_.chipfactor = kChipOptions[0].factor;
    selectOption(1);
    requestRefresh();
}

void Form1::exitprogram() {
    unload();
    close();
}

// By the menu, the restart question or the window's frame: the game ends at once,
// and whatever is still running finds it over.
void Form1::closeEvent(QCloseEvent* event) {
    unload();
    event->accept();
}

void Form1::unload() {
    if (exiting_) return;
    exiting_ = true;
    ++game_;
    Timer1->stop();
    randomizer->stop();
    emit unloaded();
}

void Form1::spotClicked(int index) {
    // From the draw until the table is cleared the stakes are being settled: a chip put
    // down then would be swept off unpaid.
    if (exiting_ || settling_) return;
    const auto stake = state_.ledger.place(index, state_.chipvalue, state_.chipfactor);
    const QString spot = spots_[static_cast<std::size_t>(index)]->accessibleName();
    if (!stake) {
        QApplication::beep();
        speech::say(this, QStringLiteral("%1, refused: over the table limit of %2").arg(spot).arg(kTableLimit), spot);
        return;
    }
    QPushButton* marker = markers_[static_cast<std::size_t>(index)];
    marker->show();
    marker->setText(QString::number(*stake));
    speech::changed(this);
    speech::say(this, *stake ? QStringLiteral("%1, %2 on it").arg(spot).arg(*stake) : spot + QStringLiteral(", cleared"),
                spot);
    requestRefresh();
}

// Selecting an option runs its handler at once, unless it is only being shown again.
void Form1::selectOption(int option, Run run) {
    QRadioButton* button = options_[static_cast<std::size_t>(option - 1)];
    const QSignalBlocker quiet(run == Run::Handler ? nullptr : button);
    button->setChecked(true);
}

void Form1::optionSelected(int option) {
    const ChipOption& chip = kChipOptions[static_cast<std::size_t>(option - 1)];
    if (option == kClearOption) {
        state_.chipvalue = chip.value;
        state_.chipfactor = chip.factor;
        requestRefresh();
        return;
    }
    // Judged against the chip in force before this choice.
    if (!chipcovered(balance(), ontable(), state_.chipvalue, state_.chipfactor)) {
        QPointer<Form1> self(this);
        const unsigned game = game_;
        const int to = stepdownoption(balance(), ontable());
        selectOption(to);
        if (!self || overSince(game)) return;
        if (to != kClearOption && messagemode(option, state_.autoselect)) {
            services_.boxes->inform(this, QStringLiteral("Insufficient Funds!"));
            if (!self || overSince(game)) return;
        }
        // This handler keeps its own chip, so its own option is the one shown; the
        // refresh steps it down again, through the handler of the option it picks.
        selectOption(option, Run::ShowOnly);
    }
    state_.chipvalue = chip.value;
    state_.chipfactor = chip.factor;
    state_.autoselect = 0;
    requestRefresh();
}

void Form1::Timer1_Timer() {
    if (exiting_) return;
    QPointer<Form1> self(this);
    const unsigned game = game_;

    for (QPushButton* m : markers_)
        if (m->text() == QLatin1String("0")) m->hide();

    amountontable->setText(QString::number(state_.ledger.total()));
    // Always what the balance leaves over the table, an empty table included.
    remaining->setText(qs(plainText(balance() - ontable())));
    speech::changed(this);

    if (!chipcovered(balance(), ontable(), state_.chipvalue, state_.chipfactor)) {
        state_.autoselect = 1;
        const QAbstractButton* before = chipGroup_->checkedButton();
        selectOption(stepdownoption(balance(), ontable()));
        if (!self || overSince(game)) return;
        if (const QAbstractButton* now = chipGroup_->checkedButton(); now != before)
            speech::say(this, QStringLiteral("Chip stepped down to %1").arg(now->accessibleName()));
    }

    // One question at a time: the refresh runs on under the open box.
    if (balance() < 1 && !asking_) {
        asking_ = true;
        const bool restart = services_.boxes->confirm(this, QStringLiteral("You Lose. Restart?"));
        if (!self) return;
        asking_ = false;
        if (overSince(game)) return;  // the game already ended another way
        if (restart)
            Form_Load();
        else
            exitprogram();
    }
}

// Animate, draw, settle, show, pay, clear. A spin cut off by a new game or the exit
// pays nothing and leaves the button ready.
void Form1::Command1_Click() {
    if (spinning_ || exiting_) return;
    QPointer<Form1> self(this);
    const unsigned game = game_;
    const auto over = [&] { return !self || overSince(game); };

    spinning_ = true;
    // Out of use but not disabled, so the focus stays where the player left it.
    Command1->setAvailable(false);
    bool settled = false;
    if (animate(over)) {
        settling_ = true;
        const Settlement s = settle(state_, draw());
        settled = showResult(s, over);
    }
    if (!self) return;
    if (settled) {
        pay();
        cleartable();
    }
    state_.payout = 0;
    spinning_ = settling_ = false;
    if (exiting_) return;
    Command1->setAvailable(true);
    requestRefresh();
}

bool Form1::animate(const std::function<bool()>& over) {
    ProgressBar1->setValue(0);
    services_.pause->begin();
    do {
        ProgressBar1->setValue(ProgressBar1->value() + 1);
        QCoreApplication::processEvents();
        if (over()) return false;
        services_.pause->sleep(25);
        if (over()) return false;
    } while (ProgressBar1->value() < 100);
    return true;
}

Pocket Form1::draw() { return static_cast<Pocket>(randombetween(36, -1, *services_.random)); }

// The history line, the "Prior Bet" figures and the result box. False when the game
// ended while the box was up.
bool Form1::showResult(const Settlement& s, const std::function<bool()>& over) {
    auto* line = new QListWidgetItem(qs(s.historyline), history);
    line->setForeground(colour(state_.lastcolor == "red" ? kHistoryRed : state_.lastcolor == "black" ? kHistoryBlack : kHistoryGreen));
    history->scrollToItem(line);
    amountbet->setText(qs(s.amountbet));
    lblreturn->setText(qs(s.lblreturn));

    // The side that moved is drawn in button text, the other greyed after the box;
    // both figures are true while the box is up: the side that did not move reads 0.
    QLabel* moved = s.won ? gain : loss;
    QLabel* still = s.won ? loss : gain;
    setFore(s.won ? txtgain : txtloss, colour(Role::ButtonText));
    moved->setText(qs(s.won ? s.gain : s.loss));
    still->setText(QStringLiteral("0"));
    // The box says what was won or lost; the pocket and where the balance ends go first,
    // ahead of the figures' own changes: a screen reader that takes a window's events
    // before others would otherwise hear them after the box.
    speech::say(this, QStringLiteral("%1. Balance %2")
                          .arg(speech::pocketWords(qs(s.historyline)),
                               qs(newbalance(text(AccountBalance), s.gain, s.loss))));
    speech::sayNow(this);
    speech::changed(this);
    services_.pause->beforeBox();
    if (over()) return false;
    services_.boxes->inform(this, qs(s.prompt));
    if (over()) return false;
    setFore(s.won ? txtloss : txtgain, colour(Role::GrayText));
    return true;
}

// The new balance, read back from the captions the result left.
void Form1::pay() { AccountBalance->setText(qs(newbalance(text(AccountBalance), text(gain), text(loss)))); }

}  // namespace spz
