#pragma once
// The table by keyboard: Tab visits three stops, the chip shown, one spot and
// "BETS READY!"; the arrows move within the chips (Qt's radio group) and across the
// layout as it is drawn; Return presses a spot or the spin button.

#include <QObject>
#include <array>

#include "betspots.h"

class QButtonGroup;
class QRadioButton;
class QWidget;

namespace spz {

class Shape;
class SolidButton;

struct KeyboardStops {
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

    KeyboardStops stops_;
    int tabStop_ = 0;
};

}  // namespace spz
