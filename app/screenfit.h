#pragma once
// One rule for both windows: each is drawn at the largest scale, up to the layout's
// own, at which it and its frame fit the room its screen leaves, and stays on it.

#include <QObject>
#include <QRect>
#include <optional>

#include "scale.h"

class QScreen;
class QWidget;

namespace spz {

// Keeps window fitted from now on (it is fitted at once, again as it is shown and
// whenever it moves to another screen). On Wayland the window has no frame at all:
// there the frame would be Qt's own, with minimise, maximise and close buttons the
// game's windows do not have.
void keepOnScreen(QWidget* window, FitTarget target);

// The room a window may take on a screen, in Qt's pixels.
QRect roomOn(QScreen* screen);

class ScreenFit final : public QObject {
    Q_OBJECT

public:
    ScreenFit(QWidget* window, FitTarget target);
    void fit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    FitTarget target_;
    bool framed_ = false;  // the window system's real frame has been measured
    // The room on the window's screen; a compositor is asked once per screen.
    QScreen* roomScreen_ = nullptr;
    QRect room_;
};

}  // namespace spz
