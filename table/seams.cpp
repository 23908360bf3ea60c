#include "seams.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QWidget>
#include <chrono>
#include <thread>

namespace spz {

void ThreadPause::sleep(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
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
