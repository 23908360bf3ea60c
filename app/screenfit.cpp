#include "screenfit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <optional>

#include "room.h"
#include "waylandroom.h"

namespace spz {

namespace {

bool onWayland() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

}  // namespace

QRect roomOn(QScreen* screen) {
    // X11 window managers publish their work area, and Qt reports it; on Wayland Qt
    // reports the whole screen, bars and all, so the compositor is asked.
    if (!onWayland()) return desktopRoom(screen->geometry(), screen->availableGeometry());
    const QRect whole = screen->geometry();
    // Not long: the window waits for the answer, and the fallback serves without one.
    const std::optional<WaylandAnswer> told = askWaylandRoom(screen->name(), std::chrono::milliseconds(200));
    if (!told) return {whole.topLeft(), waylandRoom(whole.size(), 1, {}, {})};
    // Qt's screen ratio is the output's scale times QT_SCALE_FACTOR, whatever the mode.
    const double qtScale = screen->devicePixelRatio() / std::max(told->output.scale, 1);
    return {whole.topLeft(), waylandRoom(whole.size(), qtScale, told->output, told->bounds)};
}

void keepOnScreen(QWidget* window, FitTarget target) {
    // Alone: Qt drops the hint beside a close button's.
    if (onWayland()) window->setWindowFlags(window->windowType() | Qt::FramelessWindowHint);
    (new ScreenFit(window, std::move(target)))->fit();  // before it is first mapped
}

ScreenFit::ScreenFit(QWidget* window, FitTarget target) : QObject(window), window_(window), target_(std::move(target)) {
    window->installEventFilter(this);
}

bool ScreenFit::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_ || event->type() != QEvent::Show) return false;
    fit();  // on the screen it opens on
    if (QWindow* handle = window_->windowHandle()) {
        connect(handle, &QWindow::screenChanged, this, &ScreenFit::fit, Qt::UniqueConnection);
        // On X the frame is known only once the window manager has drawn it.
        if (!framed_ && !onWayland()) QTimer::singleShot(250, this, &ScreenFit::fit);
    }
    return false;
}

void ScreenFit::fit() {
    QScreen* screen = window_->screen();
    if (!screen) return;
    // Until the window system has framed the window, a title bar and thin edges are
    // assumed; once shown, the frame it really drew is measured. A frameless window
    // on Wayland has none.
    const QRect inner = window_->geometry(), outer = window_->frameGeometry();
    const bool measured = window_->isVisible() && outer != inner;
    const QMargins frame = measured ? QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                                               outer.right() - inner.right(), outer.bottom() - inner.bottom())
                           : onWayland() ? QMargins()
                                         : QMargins(4, 32, 4, 4);
    framed_ = framed_ || measured;
    if (!onWayland() || screen != roomScreen_) {
        roomScreen_ = screen;
        room_ = roomOn(screen);
    }
    const double scale = fitScale(target_.clientTwips,
                                  {frame.left() + frame.right(), frame.top() + frame.bottom() + target_.addedHeight()},
                                  room_.size());
    if (scale != target_.scale()) target_.drawAt(scale);
    // On Wayland the compositor alone places windows.
    if (!measured || onWayland()) return;
    const QRect now = window_->frameGeometry();
    if (const QPoint to = placeWithin(now, room_); to != now.topLeft()) window_->move(to);
}

}  // namespace spz
