#include "screenfit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "waylandroom.h"

namespace spz {

namespace {

bool onWayland() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

}  // namespace

QRect roomOn(QScreen* screen) {
    // X11 window managers publish their work area, and Qt reports it; on Wayland Qt
    // reports the whole screen, bars and all.
    if (!onWayland()) return screen->availableGeometry();
    const QRect whole = screen->geometry();
    const std::optional<WaylandAnswer> told = askWaylandRoom();
    // Qt's pixels per compositor pixel: other than 1 only under QT_SCALE_FACTOR.
    const double ratio = told && told->outputWidth > 0 ? double(whole.width()) / told->outputWidth : 1.0;
    const Room room = waylandRoom({whole.width(), whole.height()},
                                  told ? Room{told->boundsWidth, told->boundsHeight} : Room{}, ratio);
    return {whole.topLeft(), QSize(room.width, room.height)};
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
    const double scale = fitScale(target_.clientWidthTwips, target_.clientHeightTwips, frame.left() + frame.right(),
                                  frame.top() + frame.bottom() + (target_.fixedHeight ? target_.fixedHeight() : 0),
                                  room_.width(), room_.height());
    if (scale != target_.scale()) target_.drawAt(scale);
    // On Wayland the compositor alone places windows.
    if (!measured || onWayland()) return;
    // Where the window system put the frame, moved only as far as it takes to fit.
    const QRect now = window_->frameGeometry();
    const QPoint to(std::clamp(now.left(), room_.left(), std::max(room_.left(), room_.right() + 1 - now.width())),
                    std::clamp(now.top(), room_.top(), std::max(room_.top(), room_.bottom() + 1 - now.height())));
    if (to != now.topLeft()) window_->move(to);
}

}  // namespace spz
