// Times the game from inside, on whatever X server DISPLAY names:
//   spinzelle-bench program    the game's own windows
//   spinzelle-bench baseline   the empty windows, doing the same steps
// and prints one "name value" line per figure, for one fresh process each time, so the
// first "Begin" and the first marker are as cold as a player's.

#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "emptywindows.h"
#include "program.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kClicks = 5;
constexpr int kSteps = 100;
constexpr int kStepMs = 25;

double msSince(Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); }

double cpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// A figure that never came (-1) ends the run: a median over it would mean nothing.
void report(const char* name, double value) {
    if (value < 0) {
        std::fprintf(stderr, "%s: nothing was painted in time\n", name);
        std::exit(1);
    }
    std::printf("%s %.3f\n", name, value);
}

// Results at once and OK to every question, so a spin is the wheel's time alone.
class InstantBoxes final : public spz::MessageBoxes {
public:
    void inform(QWidget*, const QString&) override {}
    bool confirm(QWidget*, const QString&) override { return true; }
};

// Waits for the first paint that `matches` accepts and takes the time once that paint,
// and the hand-over of its pixels to the X server that follows it, is done.
class PaintWatch final : public QObject {
public:
    explicit PaintWatch(std::function<bool(QObject*)> matches) : matches_(std::move(matches)) {
        qApp->installEventFilter(this);
    }
    ~PaintWatch() override { qApp->removeEventFilter(this); }

    // Milliseconds from `from`, or -1 when nothing was painted within the time.
    double waitFrom(Clock::time_point from, int timeoutMs = 5000) {
        QEventLoop loop;
        loop_ = &loop;
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        if (!done_) loop.exec();
        loop_ = nullptr;
        return done_ ? std::chrono::duration<double, std::milli>(at_ - from).count() : -1;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_ && matches_(watched)) {
            seen_ = true;
            // Queued: the widgets' sync paints the whole window and flushes it first.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    at_ = Clock::now();
                    done_ = true;
                    if (loop_) loop_->quit();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<bool(QObject*)> matches_;
    bool seen_ = false;
    bool done_ = false;
    Clock::time_point at_;
    QEventLoop* loop_ = nullptr;
};

// A press and release at the centre of `target`, through its window as input arrives.
void click(QWidget* target, QPoint at = {}) {
    QWidget* window = target->window();
    if (at.isNull()) at = target->rect().center();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, target->mapTo(window, at));
}

bool isWindowTitled(QObject* o, const char* title) {
    auto* w = qobject_cast<QWidget*>(o);
    return w && w->isWindow() && w->windowTitle() == QLatin1String(title);
}

struct Clicks {
    double first;
    double next;
};

// Clicks `spot` again and again; each time until `shows` has been painted anew.
Clicks timeClicks(QWidget* spot, QWidget* shows, const std::function<bool()>& changed) {
    std::vector<double> times;
    for (int k = 0; k < kClicks; ++k) {
        QTest::qWait(150);
        PaintWatch watch([&](QObject* o) { return o == shows && changed(); });
        const auto from = Clock::now();
        click(spot);
        times.push_back(watch.waitFrom(from));
        if (times.back() < 0) report("click", -1);
    }
    return {times.front(), median({times.begin() + 1, times.end()})};
}

void timeSpin(const std::function<void()>& spin) {
    QTest::qWait(300);
    const double cpu = cpuMs();
    const auto from = Clock::now();
    spin();
    report("spin_wall_ms", msSince(from));
    report("spin_cpu_ms", cpuMs() - cpu);
}

int runProgram() {
    spz::configureApplication();
    spz::WheelSource wheel;
    spz::SystemClock clock;
    spz::LoopPause pause;
    InstantBoxes boxes;
    spz::Program program({&wheel, &clock, &pause, &boxes});
    program.start();

    QPointer<Form2> start = program.startWindow();
    if (!QTest::qWaitForWindowExposed(start)) return 1;
    QTest::qWait(200);
    start->findChild<QComboBox*>(QStringLiteral("AccountBalance"))->setCurrentIndex(0);
    QTest::qWait(50);
    {
        PaintWatch shown([](QObject* o) { return isWindowTitled(o, "Form1"); });
        const auto from = Clock::now();
        click(start->findChild<QPushButton*>(QStringLiteral("Command1")));
        report("begin_to_table_ms", shown.waitFrom(from));
    }

    QPointer<spz::Form1> table = program.table();
    if (!table) return 1;
    auto* spot = table->findChild<QPushButton*>(QStringLiteral("red1"));
    auto* marker = table->findChild<QPushButton*>(QStringLiteral("chipred1"));
    if (!spot || !marker) return 1;
    QString before;
    const Clicks clicks = timeClicks(spot, marker, [&] {
        if (marker->text() == before) return false;
        before = marker->text();
        return true;
    });
    report("click_first_ms", clicks.first);
    report("click_next_ms", clicks.next);

    timeSpin([&] { table->Command1_Click(); });
    table->close();
    return 0;
}

int runBaseline() {
    QPointer<spzbench::EmptyTable> table;
    QPointer<QWidget> start = spzbench::startEmpty([&](spzbench::EmptyTable* t) { table = t; });
    if (!QTest::qWaitForWindowExposed(start)) return 1;
    QTest::qWait(250);
    {
        PaintWatch shown([](QObject* o) { return isWindowTitled(o, "Form1"); });
        const auto from = Clock::now();
        click(start);
        report("begin_to_table_ms", shown.waitFrom(from));
    }
    if (!table) return 1;

    const Clicks clicks = timeClicks(table, table, [] { return true; });
    report("click_first_ms", clicks.first);
    report("click_next_ms", clicks.next);

    // The spin's own steps with nothing to show: what its pauses and event passes cost.
    spz::LoopPause pause;
    timeSpin([&] {
        for (int step = 0; step < kSteps; ++step) {
            QCoreApplication::processEvents();
            pause.sleep(kStepMs);
        }
    });
    table->close();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode != QLatin1String("program") && mode != QLatin1String("baseline")) {
        std::fprintf(stderr, "usage: %s program|baseline\n", argv[0]);
        return 2;
    }
    std::printf("platform %s\n", qPrintable(QGuiApplication::platformName()));
    const int status = mode == QLatin1String("program") ? runProgram() : runBaseline();
    std::fflush(stdout);
    return status;
}
