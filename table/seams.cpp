#include "seams.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>

namespace spz {

void LoopPause::sleep(int milliseconds) {
    using namespace std::chrono;
    const auto step = duration_cast<steady_clock::duration>(std::chrono::milliseconds(milliseconds));
    const auto now = steady_clock::now();
    // Late by a whole step or more (a box was up, or this is a new spin): start afresh.
    due_ = now < due_ + step ? due_ + step : now + step;

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
