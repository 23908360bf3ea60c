#include "seams.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

namespace spz {

void LoopPause::begin() { due_ = std::chrono::steady_clock::now(); }

void LoopPause::sleep(int milliseconds) {
    using namespace std::chrono;
    due_ += std::chrono::milliseconds(milliseconds);
    // Held up far longer than a step (a box was open): go on at the pace from here
    // rather than racing to catch up.
    if (const auto now = steady_clock::now(); now - due_ > std::chrono::milliseconds(250)) due_ = now;

    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    bool ended = false;
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        ended = true;
        loop.quit();
    });
    for (auto left = due_ - steady_clock::now(); left > steady_clock::duration::zero();
         left = due_ - steady_clock::now()) {
        ended = false;
        timer.start(static_cast<int>(ceil<std::chrono::milliseconds>(left).count()));
        loop.exec();
        if (!ended) return;  // the application is quitting: nothing left to wait for
    }
}

namespace {
QMessageBox::StandardButton ask(QWidget* parent, const QString& prompt, QMessageBox::StandardButtons buttons) {
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), prompt, buttons, parent);
    box.setDefaultButton(QMessageBox::Ok);
    // In the table's colours, not the desktop's, like the window it belongs to.
    if (parent) box.setPalette(parent->palette());
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
}  // namespace

void QtMessageBoxes::inform(QWidget* parent, const QString& prompt) { ask(parent, prompt, QMessageBox::Ok); }

bool QtMessageBoxes::confirm(QWidget* parent, const QString& prompt) {
    // A box closed by its frame, or one that never ran because the program is
    // quitting, answers no button at all: only OK counts as OK.
    return ask(parent, prompt, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

}  // namespace spz
