#include "keyboard.h"

#include <QApplication>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QRadioButton>
#include <algorithm>
#include <cstdlib>
#include <functional>
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

// Tells its keyboard of a mouse press in the window, whatever widget takes it.
class PressWatch final : public QObject {
    Q_OBJECT

public:
    PressWatch(QObject* keyboard, QWidget* form, std::function<void()> pressed)
        : QObject(keyboard), form_(form), pressed_(std::move(pressed)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto type = event->type();
        if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == form_)
            pressed_();
        return false;
    }

private:
    QWidget* form_;
    std::function<void()> pressed_;
};

}  // namespace

// Only the keyboard gives focus: every stop takes it by Tab alone, never by a click.
Keyboard::Keyboard(QWidget* form, KeyboardStops stops)
    : QObject(form), form_(form), stops_(stops), presses_(new PressWatch(this, form, [this] { showRings(false); })) {
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
    // Chosen by key, by mouse or by the table's step-down, the chip shown takes the focus.
    connect(stops_.chips, &QButtonGroup::buttonToggled, this, [this](QAbstractButton*, bool on) {
        if (on) followChip();
    });
}

void Keyboard::followChip() {
    auto& options = stops_.options;
    if (std::find(options.begin(), options.end(), form_->focusWidget()) == options.end()) return;
    if (QAbstractButton* shown = stops_.chips->checkedButton(); shown && shown != form_->focusWidget())
        shown->setFocus(Qt::OtherFocusReason);
}

// A key a player plays with, not a shortcut or a modifier on its own.
bool Keyboard::plays(const QKeyEvent* key) {
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    switch (key->key()) {
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_Meta:
        case Qt::Key_Super_L:
        case Qt::Key_Super_R: return false;
        default: return true;
    }
}

void Keyboard::showRings(bool on) {
    if (shown_ == on) return;
    shown_ = on;
    // The press watch looks at every event of the program, so only while it is needed.
    if (on)
        qApp->installEventFilter(presses_);
    else
        qApp->removeEventFilter(presses_);
    // Qt's own focus frames follow the same rule.
    form_->setAttribute(Qt::WA_KeyboardFocusChange, on);
    if (QWidget* focus = form_->focusWidget()) focus->update();
    paintRings();
}

void Keyboard::paintRings() {
    const QWidget* focus = QApplication::focusWidget();
    for (std::size_t k = 0; k < stops_.options.size(); ++k) stops_.discs[k]->setRing(shown_ && stops_.options[k] == focus);
    for (SolidButton* spot : stops_.spots) spot->setRing(shown_ && spot == focus);
    stops_.spin->setRing(shown_ && stops_.spin == focus);
}

void Keyboard::makeTabStop(int index) {
    stops_.spots[static_cast<std::size_t>(tabStop_)]->setFocusPolicy(Qt::NoFocus);
    tabStop_ = index;
    stops_.spots[static_cast<std::size_t>(tabStop_)]->setFocusPolicy(Qt::TabFocus);
}

bool Keyboard::eventFilter(QObject* watched, QEvent* event) {
    auto& spots = stops_.spots;
    const auto spot = std::find(spots.begin(), spots.end(), watched);
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        if (spot != spots.end() && event->type() == QEvent::FocusIn) makeTabStop(static_cast<int>(spot - spots.begin()));
        paintRings();
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (plays(key)) showRings(true);
    if (spot == spots.end() && watched != stops_.spin) return false;
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

#include "keyboard.moc"
