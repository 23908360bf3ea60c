#include "speech.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <set>
#include <vector>

#include "betspots.h"
#include "look.h"

namespace spz::speech {
namespace {

// Dynamic properties: a widget only drawn, and a container whose tree leaves those out.
constexpr char kDrawnOnly[] = "spzDrawnOnly";
constexpr char kLeavesOutDrawn[] = "spzLeavesOutDrawn";

struct Display {
    const char* object;
    const char* name;
};
constexpr Display kDisplays[] = {{"AccountBalance", "Account balance"}, {"amountontable", "Amount on table"},
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

// Asked for each class up an object's hierarchy: answers for the object's own class.
QAccessibleInterface* containers(const QString& className, QObject* object) {
    auto* w = qobject_cast<QWidget*>(object);
    if (!w || !w->property(kLeavesOutDrawn).toBool() || className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    return new Container(w);
}

// A history line as heard: the pocket and its colour, which the list shows only as ink.
QString pocketWords(const QString& line) {
    const QString pocket = line.trimmed();
    if (pocket == QLatin1String("0") || pocket == QLatin1String("00")) return pocket + QStringLiteral(" green");
    return pocket + (isRed(pocket.toInt()) ? QStringLiteral(" red") : QStringLiteral(" black"));
}

// Setting a description that differs sends Qt's DescriptionChanged, which the desktop
// bridge passes on as a change of the accessible description.
void describe(QWidget* w, const QString& text) {
    if (w->accessibleDescription() != text) w->setAccessibleDescription(text);
}

struct Spot {
    QPushButton* button;
    QPushButton* marker;
    QString pays;
};

class Figures final : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    std::vector<QLabel*> displays;
    QListWidget* history = nullptr;
    std::vector<Spot> spots;

    void update() {
        for (QLabel* l : displays) describe(l, l->text());
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
};

template <class W>
W* part(QWidget* form, std::string_view name) {
    return form->findChild<W*>(qs(name));
}

}  // namespace

void attach(QWidget* form) {
    static const bool installed = (QAccessible::installFactory(containers), true);
    (void)installed;

    auto* figures = new Figures(form);
    for (const Display& d : kDisplays) {
        QLabel* l = part<QLabel>(form, d.object);
        l->setAccessibleName(QString::fromLatin1(d.name));
        figures->displays.push_back(l);
    }
    figures->history = part<QListWidget>(form, "history");
    figures->history->setAccessibleName(QStringLiteral("History"));
    part<QProgressBar>(form, "ProgressBar1")->setAccessibleName(QStringLiteral("Spin"));
    for (const BetSpot& s : kBetSpots)
        figures->spots.push_back({part<QPushButton>(form, s.button), part<QPushButton>(form, s.marker), qs(paysText(s.family))});
    QWidget* client = figures->spots.front().button->parentWidget();
    client->setAccessibleName(QStringLiteral("Roulette table"));
    form->findChild<QMenuBar*>()->setAccessibleName(QStringLiteral("Menu bar"));
    for (QMenu* m : form->findChildren<QMenu*>()) m->setAccessibleName(QString(m->title()).remove(QLatin1Char('&')));

    // Only drawn: felt, legend, lines, chip discs, the markers (the spot says its
    // stake) and every plain label (chip labels repeat an option, captions a display's name).
    std::set<QWidget*> holders = {form};
    for (QWidget* w : form->findChildren<QWidget*>()) {
        auto* label = qobject_cast<QLabel*>(w);
        const bool display = label && std::find(figures->displays.begin(), figures->displays.end(), label) !=
                                          figures->displays.end();
        if (!dynamic_cast<Shape*>(w) && !dynamic_cast<Line*>(w) && !dynamic_cast<ChipMarker*>(w) && (!label || display))
            continue;
        w->setProperty(kDrawnOnly, true);
        holders.insert(w->parentWidget());
    }
    for (QWidget* h : holders) {
        h->setProperty(kLeavesOutDrawn, true);
        // Building the window may already have cached the toolkit's own interface.
        QAccessibleInterface* cached = QAccessible::queryAccessibleInterface(h);
        if (cached && !dynamic_cast<Container*>(cached)) QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(cached));
    }
    figures->update();
}

void changed(QWidget* table) {
    if (auto* figures = table->window()->findChild<Figures*>(QString(), Qt::FindDirectChildrenOnly)) figures->update();
}

}  // namespace spz::speech

#include "speech.moc"
