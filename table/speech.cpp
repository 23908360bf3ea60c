#include "speech.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <set>
#include <vector>

#include "betspots.h"
#include "look.h"

namespace spz::speech {
namespace {

// Dynamic properties: a widget only drawn, a container whose tree leaves those out,
// and the spin button, which can be out of use while enabled.
constexpr char kDrawnOnly[] = "spzDrawnOnly";
constexpr char kLeavesOutDrawn[] = "spzLeavesOutDrawn";
constexpr char kSpinButton[] = "spzSpinButton";

struct DisplayName {
    const char* object;
    const char* name;
};
constexpr DisplayName kDisplays[] = {{"AccountBalance", "Account balance"}, {"amountontable", "Amount on table"},
                                 {"remaining", "Remaining"},            {"amountbet", "Amount bet"},
                                 {"lblreturn", "Return"},               {"gain", "Gain"},
                                 {"loss", "Loss"}};
// How many of the newest pockets follow the history's name; the list holds them all.
constexpr int kPocketsSaid = 10;

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The window, a panel or the client area. QAccessibleWidget lists every child widget;
// this one skips those that are only drawn.
class Container final : public QAccessibleWidget {
public:
    explicit Container(QWidget* w) : QAccessibleWidget(w, role(w)) {}

    int childCount() const override { return static_cast<int>(parts().size()); }
    QAccessibleInterface* child(int index) const override {
        const QWidgetList p = parts();
        return index >= 0 && index < p.size() ? QAccessible::queryAccessibleInterface(p[index]) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child ? static_cast<int>(parts().indexOf(qobject_cast<QWidget*>(child->object()))) : -1;
    }
    QString text(QAccessible::Text t) const override {
        auto* box = qobject_cast<QGroupBox*>(widget());
        if (t == QAccessible::Name && box && box->accessibleName().isEmpty()) return box->title();
        return QAccessibleWidget::text(t);
    }

private:
    // A plain widget would be a filler: the window is a frame like any other.
    static QAccessible::Role role(const QWidget* w) {
        if (w->isWindow()) return QAccessible::Window;
        return qobject_cast<const QGroupBox*>(w) ? QAccessible::Grouping : QAccessible::Pane;
    }
    QWidgetList parts() const {
        QWidgetList p;
        for (QObject* o : widget()->children())
            if (auto* w = qobject_cast<QWidget*>(o); w && !w->isWindow() && !w->property(kDrawnOnly).toBool())
                p.append(w);
        return p;
    }
};

// "BETS READY!" while the wheel turns: enabled, so it keeps the focus, but unavailable.
class SpinButton final : public QAccessibleWidget {
public:
    explicit SpinButton(SolidButton* b) : QAccessibleWidget(b, QAccessible::Button) {}

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.disabled = s.disabled || !button()->available();
        return s;
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && button()->accessibleName().isEmpty()) return button()->text().remove(QLatin1Char('&'));
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (button()->isEnabled() && button()->available()) names.prepend(pressAction());
        return names;
    }
    void doAction(const QString& action) override {
        if (action == pressAction())
            button()->click();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    SolidButton* button() const { return static_cast<SolidButton*>(widget()); }
};

// Says its accessible name each time it is shown anew; draws nothing, one pixel in size.
class Announcer final : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {}
};

class Announcement final : public QAccessibleWidget {
public:
    explicit Announcement(Announcer* a) : QAccessibleWidget(a, QAccessible::Notification) {}
};

// Asked for each class up an object's hierarchy: answers for the object's own class.
QAccessibleInterface* containers(const QString& className, QObject* object) {
    auto* w = qobject_cast<QWidget*>(object);
    if (!w || className != QLatin1String(object->metaObject()->className())) return nullptr;
    if (auto* a = qobject_cast<Announcer*>(w)) return new Announcement(a);
    if (w->property(kSpinButton).toBool()) return new SpinButton(static_cast<SolidButton*>(w));
    if (w->property(kLeavesOutDrawn).toBool()) return new Container(w);
    return nullptr;
}

// Setting a description or name that differs sends Qt's DescriptionChanged or
// NameChanged, which the desktop bridge passes on.
void describe(QWidget* w, const QString& text) {
    if (w->accessibleDescription() != text) w->setAccessibleDescription(text);
}
void rename(QWidget* w, const QString& text) {
    if (w->accessibleName() != text) w->setAccessibleName(text);
}

struct Spot {
    QPushButton* button;
    QPushButton* marker;
    QString pays;
};

struct Figure {
    QLabel* label;
    QString name;
};

// Long enough for a screen reader to have read one announcement before the next
// takes its place.
constexpr int kGapMs = 150;

class Figures final : public QObject {
    Q_OBJECT

public:
    explicit Figures(QWidget* form) : QObject(form) {
        soon_.setSingleShot(true);
        connect(&soon_, &QTimer::timeout, this, &Figures::sayNow);
    }
    std::vector<Figure> displays;
    QListWidget* history = nullptr;
    std::vector<Spot> spots;
    Announcer* voice = nullptr;

    void update() {
        // The figure in the name too, so a review of the screen reads it.
        for (const Figure& d : displays) {
            rename(d.label, (d.name + QLatin1Char(' ') + d.label->text()).trimmed());
            describe(d.label, d.label->text());
        }
        for (const Spot& s : spots) {
            const QString stake = s.marker->text();
            const bool none = stake.isEmpty() || stake == QLatin1String("0");
            describe(s.button, none ? s.pays : s.pays + QStringLiteral(", %1 on it").arg(stake));
        }
        // Lines are only ever added at the end: name the new ones, newest first.
        for (int i = history->count() - 1; i >= 0; --i) {
            QListWidgetItem* line = history->item(i);
            if (line->data(Qt::AccessibleTextRole).isValid()) break;
            line->setData(Qt::AccessibleTextRole, pocketWords(line->text()));
        }
        QStringList newest;
        for (int i = history->count() - 1; i >= 0 && newest.size() < kPocketsSaid; --i)
            newest << history->item(i)->data(Qt::AccessibleTextRole).toString();
        describe(history, newest.join(QStringLiteral(", ")));
    }

    void say(const QString& text, const QString& about) {
        const auto same = std::find_if(waiting_.begin(), waiting_.end(),
                                       [&](const Words& w) { return !about.isEmpty() && w.about == about; });
        if (same != waiting_.end())
            same->text = text;
        else
            waiting_.push_back({text, about});
        const qint64 since = lastSaid_.isValid() ? lastSaid_.elapsed() : kGapMs;
        soon_.start(static_cast<int>(std::max<qint64>(0, kGapMs - since)));
    }

    // A notification is spoken each time it is shown, so it is shown anew with its words.
    void sayNow() {
        soon_.stop();
        if (waiting_.empty()) return;
        voice->hide();
        QStringList texts;
        for (const Words& w : waiting_) texts << w.text;
        // As its name, whose change the screen reader is told of: newer ones keep the
        // name they last read and would say the first announcement's words again.
        voice->setAccessibleName(texts.join(QStringLiteral(". ")));
        waiting_.clear();
        voice->show();
        lastSaid_.start();
    }

private:
    struct Words {
        QString text;
        QString about;
    };
    std::vector<Words> waiting_;
    QTimer soon_;
    QElapsedTimer lastSaid_;
};

Figures* figuresOf(QWidget* table) {
    return table->window()->findChild<Figures*>(QString(), Qt::FindDirectChildrenOnly);
}

template <class W>
W* part(QWidget* form, std::string_view name) {
    return form->findChild<W*>(qs(name));
}

}  // namespace

void attach(QWidget* form) {
    static const bool installed = (QAccessible::installFactory(containers), true);
    (void)installed;

    auto* figures = new Figures(form);
    for (const DisplayName& d : kDisplays) figures->displays.push_back({part<QLabel>(form, d.object), QString::fromLatin1(d.name)});
    figures->history = part<QListWidget>(form, "history");
    figures->history->setAccessibleName(QStringLiteral("History"));
    part<QProgressBar>(form, "ProgressBar1")->setAccessibleName(QStringLiteral("Spin"));
    for (const BetSpot& s : kBetSpots)
        figures->spots.push_back({part<QPushButton>(form, s.button), part<QPushButton>(form, s.marker), qs(paysText(s.family))});
    QWidget* client = figures->spots.front().button->parentWidget();
    client->setAccessibleName(QStringLiteral("Roulette table"));
    figures->voice = new Announcer(client);
    figures->voice->setObjectName(QStringLiteral("announcer"));
    figures->voice->setGeometry(0, 0, 1, 1);
    figures->voice->setAttribute(Qt::WA_TransparentForMouseEvents);
    figures->voice->hide();
    auto* spin = part<SolidButton>(form, "Command1");
    spin->setProperty(kSpinButton, true);
    form->findChild<QMenuBar*>()->setAccessibleName(QStringLiteral("Menu bar"));
    for (QMenu* m : form->findChildren<QMenu*>()) m->setAccessibleName(QString(m->title()).remove(QLatin1Char('&')));

    // Only drawn: felt, legend, lines, chip discs, the markers (the spot says its
    // stake) and every plain label (chip labels repeat an option, captions a display's name).
    std::set<QWidget*> holders = {form};
    for (QWidget* w : form->findChildren<QWidget*>()) {
        auto* label = qobject_cast<QLabel*>(w);
        const bool display = label && std::any_of(figures->displays.begin(), figures->displays.end(),
                                                  [label](const Figure& d) { return d.label == label; });
        if (!qobject_cast<Shape*>(w) && !qobject_cast<Line*>(w) && !qobject_cast<ChipMarker*>(w) && (!label || display))
            continue;
        w->setProperty(kDrawnOnly, true);
        holders.insert(w->parentWidget());
    }
    for (QWidget* h : holders) h->setProperty(kLeavesOutDrawn, true);
    holders.insert(spin);
    for (QWidget* h : holders) {
        // Building the window may already have cached the toolkit's own interface.
        QAccessibleInterface* cached = QAccessible::queryAccessibleInterface(h);
        if (cached && !dynamic_cast<Container*>(cached) && !dynamic_cast<SpinButton*>(cached))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(cached));
    }
    figures->update();
}

QString pocketWords(const QString& line) {
    const QString pocket = line.trimmed();
    if (pocket == QLatin1String("0") || pocket == QLatin1String("00")) return pocket + QStringLiteral(" green");
    return pocket + (isRed(pocket.toInt()) ? QStringLiteral(" red") : QStringLiteral(" black"));
}

void changed(QWidget* table) {
    if (Figures* figures = figuresOf(table)) figures->update();
}

void say(QWidget* table, const QString& text, const QString& about) {
    if (Figures* figures = figuresOf(table)) figures->say(text, about);
}

void sayNow(QWidget* table) {
    if (Figures* figures = figuresOf(table)) figures->sayNow();
}

}  // namespace spz::speech

#include "speech.moc"
