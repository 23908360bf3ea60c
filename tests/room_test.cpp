// How much of a screen the game's windows may take, on the desktops players have.
#include <gtest/gtest.h>

#include "room.h"
#include "twips.h"

using spz::WaylandOutput;

void PrintTo(const QSize& s, std::ostream* os) { *os << s.width() << "x" << s.height(); }
void PrintTo(const QPoint& p, std::ostream* os) { *os << "(" << p.x() << ", " << p.y() << ")"; }
void PrintTo(const QRect& r, std::ostream* os) { *os << r.width() << "x" << r.height() << "+" << r.x() << "+" << r.y(); }

namespace {

const QSize kTable(13080, 11220);  // the table's client area in twips, under a 24-pixel menu bar
constexpr int kMenuBar = 24;

// How tall the table window is drawn in a room.
int tableHeight(QSize room) { return spz::twipsToPixels(kTable.height(), spz::fitScale(kTable, {0, kMenuBar}, room)) + kMenuBar; }

}  // namespace

TEST(Room, EachWaylandDesktopAndScale) {
    struct Case {
        const char* desktop;
        double qtScale;  // QT_SCALE_FACTOR
        WaylandOutput output;
        QSize bounds, room;
    };
    const QSize fullHd(1920, 1080);
    const Case cases[] = {
        {"GNOME 1366x768", 1, {{1366, 768}, {1366, 768}, 1}, {1366, 736}, {1366, 736}},
        {"GNOME 125 %", 1, {fullHd, {1536, 864}, 2}, {1536, 832}, {1536, 832}},
        {"GNOME 150 %", 1, {fullHd, {1280, 720}, 2}, {1280, 688}, {1280, 688}},
        // GNOME's integer mode lays out in real pixels, a window's are two of them; GNOME
        // 43 sends the bounds in real pixels too, GNOME 48 in the window's.
        {"GNOME 43 200 % integer", 1, {fullHd, fullHd, 2}, {1920, 1016}, {960, 508}},
        {"GNOME 48 200 % integer", 1, {fullHd, fullHd, 2}, {960, 508}, {960, 508}},
        {"GNOME 48 200 % integer, 2560x1440", 1, {{2560, 1440}, {2560, 1440}, 2}, {1280, 688}, {1280, 688}},
        {"GNOME 200 % fractional", 1, {fullHd, {960, 540}, 2}, {960, 508}, {960, 508}},
        {"GNOME portrait", 1, {{1080, 1920}, {1080, 1920}, 1}, {1080, 1888}, {1080, 1888}},
        {"KWin 150 %, Plasma panel", 1, {fullHd, {1280, 720}, 2}, {1280, 676}, {1280, 676}},
        {"weston, no bounds", 1, {{1366, 768}, {1366, 768}, 1}, {}, {1366, 720}},
        {"GNOME 200 % integer, no answer in time", 1, {fullHd, fullHd, 2}, {}, {960, 492}},
        {"QT_SCALE_FACTOR 1.5 at 100 %", 1.5, {fullHd, fullHd, 1}, {1920, 1048}, {1280, 698}},
        {"QT_SCALE_FACTOR 1.25 at GNOME 200 % integer", 1.25, {fullHd, fullHd, 2}, {960, 508}, {768, 406}},
        {"bounds of a larger screen", 1, {{1366, 768}, {1366, 768}, 1}, {2560, 1400}, {1366, 768}},
        {"no compositor answer at all", 1, {}, {}, {1366, 720}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(spz::waylandRoom({1366, 768}, c.qtScale, c.output, c.bounds), c.room) << c.desktop;
        // The window fits the room, and keeps its own size where that fits.
        EXPECT_LE(tableHeight(c.room), c.room.height()) << c.desktop;
        if (c.room.height() >= 748 + kMenuBar && c.room.width() >= 872) {
            EXPECT_EQ(tableHeight(c.room), 748 + kMenuBar) << c.desktop;
        }
    }
    // Shrunk no more than it must: within a pixel of the room.
    EXPECT_GE(tableHeight({1280, 676}), 675);
}

TEST(Room, X11WorkAreaLeavesThePanels) {
    const QRect screen(0, 0, 1366, 768), second(1366, 0, 1920, 1080);
    const QRect underTopBar(0, 32, 1366, 736);
    EXPECT_EQ(spz::desktopRoom(screen, underTopBar), underTopBar);
    EXPECT_EQ(spz::desktopRoom(screen, QRect()), screen);  // no work area published
    // A work area over the whole desktop is cut to the screen.
    EXPECT_EQ(spz::desktopRoom(second, QRect(0, 32, 3286, 1048)), QRect(1366, 32, 1920, 1048));

    // A window put at the top left goes below the bar; one too tall keeps its top in view.
    EXPECT_EQ(spz::placeWithin({0, 0, 851, 700}, underTopBar), QPoint(0, 32));
    EXPECT_EQ(spz::placeWithin({600, 300, 851, 700}, underTopBar), QPoint(515, 68));
    EXPECT_EQ(spz::placeWithin({0, 0, 851, 800}, underTopBar), QPoint(0, 32));
}
