#pragma once
// One rule for both windows: each is drawn at the largest scale, up to the layout's
// own, at which it and its frame fit the room its screen leaves, and stays on it.

#include <QObject>
#include <QRect>
#include <QSize>
#include <functional>

class QScreen;
class QWidget;

namespace spz {

// What a window offers the fit: its client area in twips, the pixels it adds at every
// scale (a menu bar in the desktop's font), its scale, and a redraw at another.
struct FitTarget {
    QSize clientTwips;
    std::function<int()> addedHeight;
    std::function<double()> scale;
    std::function<void(double)> drawAt;
};

// Keeps window fitted from now on (it is fitted at once, again as it is shown and
// whenever it moves to another screen). On Wayland the window has no frame at all:
// there the frame would be Qt's own, with minimise, maximise and close buttons the
// game's windows do not have.
void keepOnScreen(QWidget* window, FitTarget target);
// Either of the game's windows, as it tells its client area, added height and scale.
template <class Window>
void keepOnScreen(Window* window) {
    keepOnScreen(window, {window->clientTwips(), [window] { return window->addedHeight(); },
                          [window] { return window->scale(); }, [window](double s) { window->drawAt(s); }});
}

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
