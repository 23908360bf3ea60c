#pragma once
// The empty windows the game is measured against: what Qt alone costs for a start-up
// window and a table window of the game's sizes, handing over the way the game does.

#include <QMouseEvent>
#include <QSize>
#include <QWidget>
#include <functional>
#include <utility>

namespace spzbench {

inline constexpr QSize kStartSize{318, 172};
inline constexpr QSize kTableSize{872, 748};

// The table's client area and nothing on it. A click only asks for a repaint, so the
// way from a click to the screen can be timed against the game's.
class EmptyTable final : public QWidget {
public:
    EmptyTable() {
        setWindowTitle(QStringLiteral("Form1"));
        setAttribute(Qt::WA_DeleteOnClose);
        setFixedSize(kTableSize);
    }

protected:
    void mouseReleaseEvent(QMouseEvent*) override { update(); }
};

// A fixed-size dialog of the start-up window's size; a click anywhere opens the table
// and closes it for good.
class EmptyStart final : public QWidget {
public:
    explicit EmptyStart(std::function<void()> openTable)
        : QWidget(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), openTable_(std::move(openTable)) {
        setWindowTitle(QStringLiteral("Form2"));
        setAttribute(Qt::WA_DeleteOnClose);
        setFixedSize(kStartSize);
    }

protected:
    void mouseReleaseEvent(QMouseEvent*) override {
        if (openTable_) openTable_();
        close();
    }

private:
    std::function<void()> openTable_;
};

// Shows the empty start-up window; the table it opens is handed to onTable.
inline EmptyStart* startEmpty(std::function<void(EmptyTable*)> onTable = {}) {
    auto* start = new EmptyStart([onTable] {
        auto* table = new EmptyTable;
        table->show();
        if (onTable) onTable(table);
    });
    start->show();
    return start;
}

}  // namespace spzbench
