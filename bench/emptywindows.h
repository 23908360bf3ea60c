#pragma once
// The empty windows the game is measured against: what Qt alone costs for a start-up
// window and a table window of the game's sizes, handing over the way the game does.

#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
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

// The start-up window's own widgets, faces, places and size (startup/form2.cpp, in
// pixels), and nothing of the game: the floor for the time to draw the start-up window.
// Its click hands over as the empty one does.
class SameWidgetsStart final : public QWidget {
public:
    explicit SameWidgetsStart(std::function<void()> openTable)
        : QWidget(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                               Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
          openTable_(std::move(openTable)) {
        setWindowTitle(QStringLiteral("Form2"));
        setAttribute(Qt::WA_DeleteOnClose);
        setFixedSize(kStartSize);
        label(QStringLiteral("Spinzelle"), {8, 8, 233, 33}, 24);
        auto* line = new QFrame(this);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Plain);
        line->setLineWidth(2);
        line->setGeometry(8, 39, 280, 2);
        QLabel* caption = label(QStringLiteral("Starting Funds:"), {24, 72, 113, 25}, 16);
        auto* begin = new QPushButton(QStringLiteral("Begin"), this);
        begin->setGeometry(136, 112, 137, 25);
        begin->setDefault(true);
        begin->setEnabled(false);
        auto* amount = new QComboBox(this);
        amount->setGeometry(152, 72, 113, 21);
        amount->setEditable(true);
        amount->setCompleter(nullptr);
        amount->setInsertPolicy(QComboBox::NoInsert);
        amount->addItems({QStringLiteral("$25"), QStringLiteral("$50"), QStringLiteral("$100"), QStringLiteral("$500")});
        amount->setCurrentIndex(-1);
        caption->setBuddy(amount);
        // The controls' own face too, set as the game sets it: after the box is editable.
        for (QWidget* control : {static_cast<QWidget*>(begin), static_cast<QWidget*>(amount)})
            control->setFont(face(QStringLiteral("Liberation Sans Narrow"), 11));
    }

protected:
    void mouseReleaseEvent(QMouseEvent*) override {
        if (openTable_) openTable_();
        close();
    }

private:
    // The game's faces, by the installed names it asks for.
    static QFont face(const QString& family, int pixels) {
        QFont f(family);
        f.setPixelSize(pixels);
        return f;
    }

    QLabel* label(const QString& text, QRect at, int pixels) {
        auto* l = new QLabel(text, this);
        l->setFont(face(QStringLiteral("Liberation Sans"), pixels));
        l->setGeometry(at);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return l;
    }

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

// Shows the same-widgets start-up window, which opens the empty table.
inline SameWidgetsStart* startSameWidgets() {
    auto* start = new SameWidgetsStart([] {
        auto* table = new EmptyTable;
        table->show();
    });
    start->show();
    return start;
}

}  // namespace spzbench
