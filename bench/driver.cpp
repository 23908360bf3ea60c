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
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <random>
#include <thread>
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

// A player's clicks through the X server, sent from a thread of their own: each one
// reaches the game whenever it comes, whatever the game is doing.
class PlayerClicks final : public QObject {
public:
    // Clicks at `at` (global) and times each click to the first paint of `marker` with a
    // new caption.
    PlayerClicks(QPushButton* marker, QPoint at) : marker_(marker), at_(at) { marker_->installEventFilter(this); }

    // Clicks every 60 to 140 ms while `meanwhile` runs; the milliseconds of those sent
    // before it ended.
    std::vector<double> during(const std::function<void()>& meanwhile) {
        std::atomic<bool> over{false};
        std::vector<Clock::time_point> sent;
        std::thread player([&] { play(over, sent); });
        meanwhile();
        const auto end = Clock::now();
        over = true;
        player.join();
        std::vector<double> ms;
        std::lock_guard<std::mutex> lock(mutex_);
        for (std::size_t k = 0; k < sent.size() && k < painted_.size(); ++k)
            if (sent[k] < end) ms.push_back(std::chrono::duration<double, std::milli>(painted_[k] - sent[k]).count());
        painted_.clear();
        return ms;
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && marker_->text() != shown_) {
            shown_ = marker_->text();
            std::lock_guard<std::mutex> lock(mutex_);
            painted_.push_back(Clock::now());
        }
        return false;
    }

private:
    void play(const std::atomic<bool>& over, std::vector<Clock::time_point>& sent) {
        xcb_connection_t* c = xcb_connect(nullptr, nullptr);
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        std::mt19937 rng(7);
        std::uniform_int_distribution<int> gap(60, 140);
        while (!over) {
            std::this_thread::sleep_for(std::chrono::milliseconds(gap(rng)));
            if (over) break;
            const auto x = static_cast<std::int16_t>(at_.x()), y = static_cast<std::int16_t>(at_.y());
            xcb_test_fake_input(c, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root, x, y, 0);
            sent.push_back(Clock::now());
            xcb_test_fake_input(c, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
            xcb_test_fake_input(c, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
            xcb_flush(c);
            // The next click only once this one is on screen, or given up on.
            for (int wait = 0; wait < 1000 && !over; ++wait) {
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    if (painted_.size() >= sent.size()) break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
        xcb_disconnect(c);
    }

    QPushButton* marker_;
    QPoint at_;
    QString shown_;
    std::mutex mutex_;
    std::vector<Clock::time_point> painted_;
};

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5)];
}

void reportSpread(const char* name, const std::vector<double>& ms) {
    for (auto [suffix, p] : {std::pair{"median", 0.5}, std::pair{"p90", 0.9}, std::pair{"max", 1.0}})
        report((std::string(name) + "_" + suffix + "_ms").c_str(), percentile(ms, p));
}

// Clicks on a spot while the table is idle and while the wheel turns.
void timeClicksDuringSpin(spz::Form1* table, QWidget* spot, QPushButton* marker) {
    PlayerClicks player(marker, spot->mapToGlobal(spot->rect().center()));
    reportSpread("click_idle", player.during([] {
        QEventLoop loop;
        QTimer::singleShot(3000, &loop, &QEventLoop::quit);
        loop.exec();
    }));
    std::vector<double> spinning;
    for (int spin = 0; spin < 3; ++spin) {
        const auto ms = player.during([&] { table->Command1_Click(); });
        spinning.insert(spinning.end(), ms.begin(), ms.end());
    }
    reportSpread("click_spin", spinning);
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
    // $500, so the many clicks below stay covered and the $1 chip stays in force.
    start->findChild<QComboBox*>(QStringLiteral("AccountBalance"))->setCurrentIndex(3);
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
    timeClicksDuringSpin(table, spot, marker);
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
        pause.begin();
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
