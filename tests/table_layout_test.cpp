// The table as drawn: relations a wrong geometry table would break, the names the
// game's parts find each other by, fonts, and what a screen reader is told.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QListWidget>
#include <QScreen>
#include <QTest>
#include <QMenu>
#include <map>
#include <memory>
#include <set>
#include <tuple>

#include "look.h"
#include "screenfit.h"
#include "table_fakes.h"

using namespace fakes;

namespace {

struct TableLayout : ::testing::Test {
    void SetUp() override {
        spz::startingfunds = 100;
        form = std::make_unique<spz::Form1>(services.table());
        form->show();
        idle();
    }
    QPushButton* spot(int i) {
        return child<QPushButton>(form.get(), std::string(spz::kBetSpots[static_cast<std::size_t>(i)].button).c_str());
    }
    QPushButton* marker(int i) {
        return child<QPushButton>(form.get(), std::string(spz::kBetSpots[static_cast<std::size_t>(i)].marker).c_str());
    }
    Services services;
    std::unique_ptr<spz::Form1> form;
};

TEST_F(TableLayout, WindowIsFixedAtItsSize) {
    EXPECT_EQ(form->windowTitle(), "Form1");
    QWidget* client = spot(0)->parentWidget();
    EXPECT_EQ(client->size(), QSize(872, 748));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);

    // On a netbook's screen the whole table shrinks by one factor, frame and all in view.
    QScreen* netbook = nullptr;
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->name() == "netbook") netbook = screen;
    ASSERT_TRUE(netbook);
    spz::Form1 small(services.table());
    spz::keepOnScreen(&small);
    small.setScreen(netbook);
    small.move(netbook->geometry().topLeft());
    small.show();
    QTest::qWait(300);  // the frame is measured once it is drawn
    EXPECT_TRUE(netbook->availableGeometry().contains(small.frameGeometry()));
    EXPECT_EQ(small.minimumSize(), small.maximumSize());
    const double f = small.findChild<QWidget*>("red1")->parentWidget()->height() / 748.0;
    EXPECT_LT(f, 0.8);
    EXPECT_GT(f, 0.7);
    std::vector<QWidget*> pieces{client};
    for (const char* name : {"Shape7", "Shape8", "Label1", "Bet", "txtloss", "history", "ProgressBar1", "Command1"})
        pieces.push_back(child<QWidget>(form.get(), name));
    for (int i = 0; i < spz::kSpotCount; ++i) pieces.insert(pieces.end(), {spot(i), marker(i)});
    for (QWidget* big : pieces) {
        auto* same = big == client ? small.findChild<QWidget*>("red1")->parentWidget()
                                   : small.findChildren<QWidget*>(big->objectName()).value(0);
        ASSERT_TRUE(same) << big->objectName().toStdString();
        // The client is placed under the menu bar, which keeps the desktop's size.
        const QRect a = big == client ? big->rect() : big->geometry(), b = big == client ? same->rect() : same->geometry();
        for (auto [x, y] : {std::pair{a.left(), b.left()}, {a.top(), b.top()}, {a.right(), b.right()}, {a.bottom(), b.bottom()}})
            EXPECT_NEAR(x * f, y, 1.5) << big->objectName().toStdString();
        EXPECT_NEAR(QFontInfo(big->font()).pixelSize() * f, QFontInfo(same->font()).pixelSize(), 1) << big->objectName().toStdString();
    }
    EXPECT_EQ(small.findChild<QWidget*>("chipred32")->geometry().bottom(), small.findChild<QWidget*>("red32")->geometry().bottom());
}

TEST_F(TableLayout, SpotsTileTheFeltAndMarkersSitOnTheirSpots) {
    const QRect felt = child<QWidget>(form.get(), "Shape7")->geometry();
    QWidget* client = spot(0)->parentWidget();
    const auto stack = client->children();
    for (int i = 0; i < spz::kSpotCount; ++i) {
        const QRect s = spot(i)->geometry(), m = marker(i)->geometry();
        EXPECT_TRUE(felt.contains(s)) << i;
        for (int j = i + 1; j < spz::kSpotCount; ++j) EXPECT_FALSE(s.intersects(spot(j)->geometry())) << i << " " << j;
        EXPECT_EQ(m.left(), s.left()) << i;
        EXPECT_EQ(m.bottom(), s.bottom()) << i;
        EXPECT_LT(m.height(), s.height() / 2) << i;  // the caption stays in view
        EXPECT_FALSE(marker(i)->isVisible());
        EXPECT_GT(stack.indexOf(marker(i)), stack.indexOf(spot(i)));  // in front of it
        EXPECT_GT(stack.indexOf(spot(i)), stack.indexOf(child<QWidget>(form.get(), "Shape5")));
    }
    // Number n in row (n-1) div 3 and column (n-1) mod 3; each column spot under its column.
    EXPECT_EQ(spot(0)->y(), spot(2)->y());
    EXPECT_LT(spot(0)->x(), spot(1)->x());
    EXPECT_EQ(spot(47)->x(), spot(33)->x());
    EXPECT_EQ(spot(49)->x(), spot(35)->x());
    EXPECT_GT(spot(47)->y(), spot(33)->y());
    EXPECT_LT(spot(40)->y(), spot(0)->y());  // 0 and 00 above the grid
    EXPECT_EQ(spot(31)->width(), spot(30)->width());
    EXPECT_GT(marker(31)->width(), marker(30)->width());  // 32's marker is the wide one
}

TEST_F(TableLayout, PanelsChipsAndMenuAreWhereThePlayerLooks) {
    const char* frames[] = {"frmaccountBalance", "selectChip", "Frame1", "Bet", "Spin"};
    int lastBottom = 0;
    for (const char* f : frames) {
        auto* box = child<QGroupBox>(form.get(), f);
        EXPECT_GT(box->y(), lastBottom);
        lastBottom = box->geometry().bottom();
    }
    EXPECT_LT(lastBottom, child<QWidget>(form.get(), "ProgressBar1")->y());
    auto* chips = child<QGroupBox>(form.get(), "selectChip");
    const auto discs = chips->findChildren<QWidget*>("Shape8");
    const auto labels = chips->findChildren<QLabel*>("Label1");
    ASSERT_EQ(discs.size(), 6);
    ASSERT_EQ(labels.size(), 6);
    for (int k = 0; k < 6; ++k) {
        EXPECT_TRUE(discs[k]->geometry().contains(labels[k]->geometry())) << k;
        auto* option = child<QRadioButton>(form.get(), ("Option" + std::to_string(k + 1)).c_str());
        EXPECT_GT(option->y(), discs[k]->geometry().bottom());
        EXPECT_EQ(option->text(), "Option1");
        EXPECT_EQ(option->accessibleName().toStdString(), std::string(spz::kChipOptions[static_cast<std::size_t>(k)].label));
    }
    EXPECT_EQ(labels[3]->text(), "$100");
    // The chip labels alone let what is behind show; every other label is opaque in
    // the button face, so the balance panel's "$" and figure stand on light fields.
    const QImage drawnChips = chips->grab().toImage();
    EXPECT_EQ(drawnChips.pixelColor(labels[2]->geometry().topLeft()), QColor(0x008000));
    auto* balance = child<QGroupBox>(form.get(), "frmaccountBalance");
    const QImage drawnBalance = balance->grab().toImage();
    const QColor face = balance->palette().color(QPalette::Button);
    for (const char* name : {"Label2", "AccountBalance"})
        EXPECT_EQ(drawnBalance.pixelColor(child<QWidget>(form.get(), name)->geometry().topLeft()), face) << name;
    EXPECT_NE(drawnBalance.pixelColor(child<QWidget>(form.get(), "Label2")->geometry().topRight() + QPoint(2, 0)), face);

    auto* menu = child<QMenu>(form.get(), "menu");
    EXPECT_EQ(menu->title(), "&Menu");
    EXPECT_EQ(child<QMenu>(form.get(), "resetgame")->title(), "&Reset Game");
    EXPECT_EQ(child<QAction>(form.get(), "r20")->text(), "$25");
    EXPECT_EQ(child<QAction>(form.get(), "r500")->text(), "$500");
    EXPECT_EQ(child<QAction>(form.get(), "exitgame")->text(), "&Exit Game");

    // The legend reads green, red, black from left to right.
    EXPECT_LT(child<QWidget>(form.get(), "Shape1")->x(), child<QWidget>(form.get(), "Shape2")->x());
    EXPECT_LT(child<QWidget>(form.get(), "Shape2")->x(), child<QWidget>(form.get(), "Shape3")->x());
}

TEST_F(TableLayout, FontsResolveToTheChosenFaces) {
    // Sized in pixels, so the table does not grow with the screen's dots per inch.
    EXPECT_EQ(spot(0)->font().pixelSize(), 16);
    EXPECT_EQ(child<QGroupBox>(form.get(), "Bet")->font().pointSize(), -1);
    QFontInfo number(spot(0)->font());
    EXPECT_EQ(number.family(), "Liberation Sans");
    EXPECT_TRUE(number.bold());
    QFontInfo title(child<QGroupBox>(form.get(), "Bet")->font());
    EXPECT_EQ(title.family(), "Liberation Serif");
    QFontInfo list(child<QListWidget>(form.get(), "history")->font());
    EXPECT_EQ(list.family(), "Liberation Sans Narrow");
    // Asked for by installed names: a Windows name would send Qt through every font
    // fontconfig knows, which on a desktop full of fonts slows the start.
    const QStringList installed = QFontDatabase::families();
    for (QWidget* w : form->findChildren<QWidget*>())
        EXPECT_TRUE(installed.contains(w->font().family())) << w->objectName().toStdString() << ": " << w->font().family().toStdString();
}

// Each display's figure as drawn: how many glyphs stand apart, the first column with
// ink, and how tall the ink stands.
struct Ink {
    int glyphs = 0, left = -1, top = 1 << 20, bottom = -1;
};
Ink inkOf(QWidget* w) {
    const QImage img = w->grab().toImage();
    const QColor back = img.pixelColor(img.width() - 1, img.height() - 1);
    Ink found;
    for (int x = 0, before = 0; x < img.width(); ++x) {
        int here = 0;
        for (int y = 0; y < img.height(); ++y)
            if (spz::contrastRatio(img.pixelColor(x, y), back) > 5)
                here = 1, found.top = std::min(found.top, y), found.bottom = std::max(found.bottom, y);
        if (here && found.left < 0) found.left = x;
        found.glyphs += here > before;
        before = here;
    }
    return found;
}

// Every display shows all of its figure, up to the largest it can reach, and a figure
// that fits keeps the layout's face and size.
TEST_F(TableLayout, EveryFigureShowsWhole) {
    for (const char* name : {"AccountBalance", "amountontable", "remaining", "amountbet", "lblreturn", "gain", "loss"}) {
        auto* display = child<QLabel>(form.get(), name);
        display->setText(QStringLiteral("100"));
        const Ink ordinary = inkOf(display);
        for (const QString figure : {"1179612", "-1638350", "10000000", "123456789012"}) {
            display->setText(figure);
            const Ink ink = inkOf(display);
            const std::string what = name + (" " + figure.toStdString());
            EXPECT_EQ(ink.glyphs, figure.size()) << what;
            EXPECT_GT(ink.left, 0) << what;
            if (QFontMetrics(display->font()).horizontalAdvance(figure) <= display->width())
                EXPECT_EQ(ink.bottom - ink.top, ordinary.bottom - ordinary.top) << what;
            else  // smaller, but no smaller than it needs
                EXPECT_LT(ink.left, display->width() / 10) << what;
        }
    }
}

TEST_F(TableLayout, EverySpotCaptionReadsAtLeastFourAndAHalfToOne) {
    EXPECT_NEAR(spz::contrastRatio(Qt::white, QColor(0x00C000)), 2.46, 0.01);
    EXPECT_NEAR(spz::contrastRatio(QColor(0x00C000), Qt::black), 8.54, 0.01);
    for (int i = 0; i < spz::kSpotCount; ++i) {
        const QPalette& p = spot(i)->palette();
        EXPECT_GE(spz::contrastRatio(p.color(QPalette::ButtonText), p.color(QPalette::Button)), 4.5) << i;
    }
}

// The table as an assistive tool reads it: the accessibility tree from the window down.
struct Heard {
    std::map<std::string, std::string> said;  // node name -> its figure (description or value)
    std::set<QObject*> reached;
    std::vector<std::string> unnamed;
    void walk(QAccessibleInterface* node, const std::string& path) {
        const std::string name = node->text(QAccessible::Name).toStdString();
        if (name.empty()) unnamed.push_back(path);
        std::string figure = node->text(QAccessible::Description).toStdString();
        if (QAccessibleValueInterface* v = node->valueInterface()) figure = v->currentValue().toString().toStdString();
        if (node->role() != QAccessible::Grouping) said[name] = figure;  // the bar "Spin", not its panel
        reached.insert(node->object());
        for (int i = 0; i < node->childCount(); ++i) walk(node->child(i), path + "/" + name);
    }
};

TEST_F(TableLayout, ScreenReadersHearTheDisplaysStakesAndSpotsButNoDecoration) {
    auto hear = [&] {
        Heard h;
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(form.get());
        EXPECT_EQ(window->role(), QAccessible::Window);  // a frame, not a filler
        h.walk(window, "");
        EXPECT_EQ(h.unnamed, std::vector<std::string>{});
        for (const char* drawn : {"Shape7", "Shape1", "Shape8", "Label1", "Label7", "chipblack17"})
            EXPECT_FALSE(h.reached.count(child<QWidget>(form.get(), drawn))) << drawn;
        for (QObject* o : child<QGroupBox>(form.get(), "Bet")->children())
            EXPECT_FALSE(qobject_cast<spz::Line*>(o) && h.reached.count(o));
        return h.said;
    };
    using Said = std::map<std::string, std::string>;
    // Each display as reviewed: its name, which carries the figure, and the figure after it.
    auto displays = [](const Said& s) {
        std::vector<std::string> v;
        for (std::string n : {"Account balance", "Amount on table", "Remaining", "Amount bet", "Return", "Gain", "Loss",
                              "History", "Spin"}) {
            auto it = s.lower_bound(n);
            v.push_back(it != s.end() && it->first.rfind(n, 0) == 0 ? it->first + ": " + it->second : n + ": (not heard)");
        }
        return v;
    };
    for (auto [i, name, pays] : std::vector<std::tuple<int, const char*, const char*>>{{36, "Black", "pays 1 to 1"},
                                                                                {37, "Red", "pays 1 to 1"},
                                                                                {41, "00", "pays 35 to 1"},
                                                                                {42, "1st 12", "pays 2 to 1"},
                                                                                {49, "2 To 1", "pays 2 to 1"},
                                                                                {46, "19-36", "pays 1 to 1"}}) {
        EXPECT_EQ(spot(i)->accessibleName(), name);
        EXPECT_EQ(spot(i)->toolTip(), pays);
        EXPECT_EQ(spot(i)->accessibleDescription(), pays);  // nothing staked yet
    }

    Spoken spoken(form.get());
    child<QRadioButton>(form.get(), "Option2")->click();  // $5
    spot(16)->click();
    spot(16)->click();
    EXPECT_EQ(spoken.last(), "17, 10 on it");  // the newest stake on a spot, once
    spot(37)->click();
    child<QRadioButton>(form.get(), "Option6")->click();  // CLR
    spot(36)->click();
    EXPECT_EQ(spoken.last(), "Red, 5 on it. Black, cleared");
    spot(36)->click();
    // The refresh, however often it runs, says nothing that has not changed.
    for (int i = 0; i < 100; ++i) form->Timer1_Timer();
    idle();
    EXPECT_EQ(spoken.all().size(), 3u);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(child<QWidget>(form.get(), "announcer"))->role(),
              QAccessible::Notification);
    Said said = hear();
    EXPECT_EQ(said.at("17"), "pays 35 to 1, 10 on it");
    EXPECT_EQ(said.at("Red"), "pays 1 to 1, 5 on it");
    EXPECT_EQ(said.at("Black"), "pays 1 to 1");  // cleared before anything lay on it
    EXPECT_EQ(said.at("18"), "pays 35 to 1");
    EXPECT_EQ(displays(said),
              (std::vector<std::string>{"Account balance 100: 100", "Amount on table 15: 15", "Remaining 85: 85",
                                        "Amount bet 0: 0", "Return 0: 0", "Gain 0: 0", "Loss 0: 0", "History: ",
                                        "Spin: 0"}));

    services.wheel.pockets = {17};
    child<QPushButton>(form.get(), "Command1")->click();
    idle();
    said = hear();
    EXPECT_EQ(said.at("17"), "pays 35 to 1");  // the cleared table stakes nothing
    EXPECT_EQ(said.at("17 black"), "");       // the history line, with its colour
    EXPECT_EQ(displays(said),
              (std::vector<std::string>{"Account balance 445: 445", "Amount on table 0: 0", "Remaining 445: 445",
                                        "Amount bet 15: 15", "Return 360: 360", "Gain 345: 345", "Loss 0: 0",
                                        "History: 17 black", "Spin: 100"}));
    EXPECT_EQ(spoken.last(), "17 black. Balance 445");  // said before the box, which says the win
}

}  // namespace
