#include "seams.h"

#include <QAccessible>
#include <QEventLoop>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <QSpacerItem>
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

void LoopPause::beforeBox() {
    if (!QAccessible::isActive()) return;
    QEventLoop moment;
    QTimer::singleShot(250, &moment, &QEventLoop::quit);
    moment.exec();
}

namespace {
// Window managers draw their buttons beside the title and cut it short: on a box
// sized to its few words, "Spinzelle" read "Sp" or nothing at all. The box is as wide
// as the title in the desktop's title face, bold as title bars set it, and five
// buttons of a title bar about twice that face's height (an icon or menu, minimise,
// maximise, close, and one more some themes add).
void widenForTitle(QMessageBox& box) {
    QFont face = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    face.setBold(true);
    const QFontMetrics title(face);
    const int wide = title.horizontalAdvance(box.windowTitle()) + 9 * title.height();
    // QMessageBox sizes itself from its layout each time it is shown, so the width
    // goes in as a row of the layout.
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    const QMargins edges = grid->contentsMargins();
    grid->addItem(new QSpacerItem(wide - edges.left() - edges.right(), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

// A message box that draws its own edge where it has no frame, so that it stands
// out from the table it opens over.
class Box final : public QMessageBox {
    Q_OBJECT

public:
    using QMessageBox::QMessageBox;

protected:
    void paintEvent(QPaintEvent* event) override {
        QMessageBox::paintEvent(event);
        if (!(windowFlags() & Qt::FramelessWindowHint)) return;
        QPainter p(this);
        p.setPen(palette().color(QPalette::Shadow));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

QMessageBox::StandardButton ask(QWidget* parent, const QString& prompt, QMessageBox::StandardButtons buttons) {
    Box box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), prompt, buttons, parent);
    // On Wayland a frame would be Qt's own, with minimise and maximise buttons a box has
    // no use for: frameless there, as the table is.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        box.setWindowFlags(box.windowFlags() | Qt::FramelessWindowHint);
    widenForTitle(box);
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

#include "seams.moc"
