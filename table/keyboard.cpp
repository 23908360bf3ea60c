#include "keyboard.h"

#include <QKeyEvent>
#include <QRadioButton>
#include <algorithm>
#include <cstdlib>
#include <utility>

#include "layout.h"
#include "look.h"

namespace spz {

using namespace layout;

namespace {

// The spot next to one on the drawn layout: the nearest that lies that way and
// overlaps it across the move, or none.
int neighbour(int from, int dx, int dy) {
    const Twips a = spotTwips(from);
    int best = -1;
    std::pair<int, int> bestScore;
    for (int j = 0; j < kSpotCount; ++j) {
        const Twips b = spotTwips(j);
        const bool across = dx != 0;
        const int overlap = across ? std::min(a.top + a.height, b.top + b.height) - std::max(a.top, b.top)
                                   : std::min(a.left + a.width, b.left + b.width) - std::max(a.left, b.left);
        const int gap = dx > 0 ? b.left - (a.left + a.width)
                        : dx < 0 ? a.left - (b.left + b.width)
                        : dy > 0 ? b.top - (a.top + a.height)
                                 : a.top - (b.top + b.height);
        if (j == from || overlap <= 0 || gap < 0) continue;
        const int off = across ? std::abs((2 * b.top + b.height) - (2 * a.top + a.height))
                               : std::abs((2 * b.left + b.width) - (2 * a.left + a.width));
        const std::pair<int, int> score{gap, off};
        if (best < 0 || score < bestScore) best = j, bestScore = score;
    }
    return best;
}

}  // namespace

// Only the keyboard gives focus: every stop takes it by Tab alone, never by a click.
Keyboard::Keyboard(QWidget* form, KeyboardStops stops) : QObject(form), stops_(stops) {
    QWidget* previous = nullptr;
    auto chain = [&](QWidget* w, Qt::FocusPolicy policy) {
        w->setFocusPolicy(policy);
        w->installEventFilter(this);
        if (previous) QWidget::setTabOrder(previous, w);
        previous = w;
    };
    for (QRadioButton* o : stops_.options) chain(o, Qt::TabFocus);
    for (SolidButton* b : stops_.spots) chain(b, Qt::NoFocus);
    chain(stops_.spin, Qt::TabFocus);
    makeTabStop(0);
}

void Keyboard::makeTabStop(int index) {
    stops_.spots[static_cast<std::size_t>(tabStop_)]->setFocusPolicy(Qt::NoFocus);
    tabStop_ = index;
    stops_.spots[static_cast<std::size_t>(tabStop_)]->setFocusPolicy(Qt::TabFocus);
}

bool Keyboard::eventFilter(QObject* watched, QEvent* event) {
    auto& spots = stops_.spots;
    auto& options = stops_.options;
    const auto spot = std::find(spots.begin(), spots.end(), watched);
    const auto option = std::find(options.begin(), options.end(), watched);
    if (option != options.end() && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        stops_.discs[static_cast<std::size_t>(option - options.begin())]->setRing(event->type() == QEvent::FocusIn);
        return false;
    }
    if (spot != spots.end() && event->type() == QEvent::FocusIn) {
        makeTabStop(static_cast<int>(spot - spots.begin()));
        return false;
    }
    if (event->type() != QEvent::KeyPress || (spot == spots.end() && watched != stops_.spin)) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~Qt::KeypadModifier) return false;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        if (watched != stops_.spin || stops_.spin->available()) static_cast<SolidButton*>(watched)->click();
        return true;
    }
    if (spot == spots.end()) return false;
    int dx = 0, dy = 0;
    switch (key->key()) {
        case Qt::Key_Left: dx = -1; break;
        case Qt::Key_Right: dx = 1; break;
        case Qt::Key_Up: dy = -1; break;
        case Qt::Key_Down: dy = 1; break;
        default: return false;
    }
    if (const int next = neighbour(static_cast<int>(spot - spots.begin()), dx, dy); next >= 0) {
        makeTabStop(next);
        spots[static_cast<std::size_t>(next)]->setFocus(Qt::OtherFocusReason);
    }
    return true;  // an arrow never leaves the layout
}

}  // namespace spz
