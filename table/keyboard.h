#pragma once
// The table by keyboard: Tab visits three stops, the chip shown, one spot and
// "BETS READY!"; the arrows move within the chips (Qt's radio group) and across the
// layout as it is drawn; Return presses a spot or the spin button.
//
// The ring shows where the keyboard is, and only once the keyboard is in use: from
// the first key a stop takes until the next mouse press in the window. A player who
// plays by mouse alone never sees one. In the chips the focus, and so the ring,
// always sits on the chip shown.

#include <QObject>
#include <array>

#include "betspots.h"

class QButtonGroup;
class QKeyEvent;
class QRadioButton;
class QWidget;

namespace spz {

class Shape;
class SolidButton;

struct KeyboardStops {
    QButtonGroup* chips;
    std::array<QRadioButton*, 6> options;
    std::array<Shape*, 6> discs;  // each under its option
    std::array<SolidButton*, kSpotCount> spots;
    SolidButton* spin;
};

class Keyboard final : public QObject {
    Q_OBJECT

public:
    Keyboard(QWidget* form, KeyboardStops stops);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The one spot Tab stops at: the last one the keyboard reached.
    void makeTabStop(int index);
    static bool plays(const QKeyEvent* key);
    void showRings(bool on);
    void paintRings();
    void followChip();

    QWidget* form_;
    KeyboardStops stops_;
    int tabStop_ = 0;
    bool shown_ = false;
    QObject* presses_;  // watches for a mouse press while the ring shows
};

}  // namespace spz
