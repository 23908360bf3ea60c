#include "look.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <cmath>

namespace spz {

using namespace layout;

QRect pixels(Twips t) {
    auto px = [](int twips) { return static_cast<int>(std::lround(twips / double(kTwipsPerPixel))); };
    return {px(t.left), px(t.top), px(t.width), px(t.height)};
}

QString substituteFamily(Face face) {
    switch (face) {
        case Face::Sylfaen: return QStringLiteral("Liberation Serif");
        case Face::Arial: return QStringLiteral("Liberation Sans");
        default: return QStringLiteral("Liberation Sans Narrow");
    }
}

void installFontSubstitutes() {
    QFont::insertSubstitution(QStringLiteral("Arial"), substituteFamily(Face::Arial));
    QFont::insertSubstitution(QStringLiteral("Sylfaen"), substituteFamily(Face::Sylfaen));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), substituteFamily(Face::MsSansSerif));
}

QFont tableFont(FontSpec style) {
    static const char* const names[] = {"MS Sans Serif", "Arial", "Sylfaen", "MS Sans Serif"};
    QFont f(QString::fromLatin1(names[static_cast<int>(style.face)]));
    f.setPixelSize(static_cast<int>(std::lround(style.points * 96.0 / 72.0)));
    f.setBold(style.bold);
    return f;
}

double contrastRatio(const QColor& a, const QColor& b) {
    // Relative luminance of sRGB, as the readability guidelines define it.
    auto luminance = [](const QColor& c) {
        auto channel = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor captionOn(const QColor& face) {
    const QColor black(Qt::black), white(Qt::white);
    return contrastRatio(face, black) >= contrastRatio(face, white) ? black : white;
}

QColor colour(Rgb rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); }

QColor colour(Role role) {
    const QPalette p = QApplication::palette();
    switch (role) {
        case Role::ButtonText: return p.color(QPalette::ButtonText);
        case Role::GrayText: return p.color(QPalette::Disabled, QPalette::WindowText);
        case Role::HighlightText: return p.color(QPalette::HighlightedText);
        case Role::Light3D: return p.color(QPalette::Midlight);
        case Role::ActiveBorder: return p.color(QPalette::Mid);
        case Role::None: break;
    }
    return p.color(QPalette::WindowText);
}

Shape::Shape(QWidget* parent, const ShapeSpec& shape)
    : QWidget(parent), fill_(colour(shape.fill)), border_(shape.border), circle_(shape.circle) {
    setObjectName(QString::fromLatin1(shape.name.data(), static_cast<int>(shape.name.size())));
    setGeometry(pixels(shape.at));
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Shape::onClick(std::function<void()> action) {
    clicked_ = std::move(action);
    setAttribute(Qt::WA_TransparentForMouseEvents, false);
    setCursor(Qt::PointingHandCursor);
}

void Shape::mouseReleaseEvent(QMouseEvent* event) {
    if (clicked_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) clicked_();
}

void Shape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, circle_);
    p.setBrush(fill_);
    if (border_)
        p.setPen(QPen(Qt::black, 1));
    else
        p.setPen(Qt::NoPen);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (circle_)
        p.drawEllipse(r);
    else
        p.drawRect(border_ ? r : QRectF(rect()));
    if (ring_) {
        // Black outside, white inside: it shows on every disc and on the panel.
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::black, 2));
        p.drawEllipse(r.adjusted(1, 1, -1, -1));
        p.setPen(QPen(Qt::white, 2));
        p.drawEllipse(r.adjusted(3, 3, -3, -3));
    }
}

void Shape::setRing(bool on) {
    ring_ = on;
    update();
}

Line::Line(QWidget* parent, QRect at, int thickness) : QWidget(parent) {
    setGeometry(at.x(), at.y(), at.width(), thickness);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Line::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), palette().color(QPalette::WindowText));
}

SolidButton::SolidButton(const QString& caption, QWidget* parent, QColor face) : QPushButton(caption, parent) {
    if (face.isValid()) {
        QPalette p = palette();
        p.setColor(QPalette::Button, face);
        p.setColor(QPalette::ButtonText, captionOn(face));
        setPalette(p);
    }
}

void SolidButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect();
    const QPalette& pal = palette();
    p.fillRect(r, pal.color(QPalette::Button));
    const bool down = isDown() || isChecked();
    const QColor light = down ? QColor(Qt::black) : QColor(Qt::white);
    const QColor dark = down ? QColor(Qt::white) : QColor(Qt::black);
    const QColor shade = pal.color(QPalette::Button).darker(160);
    p.setPen(light);
    p.drawLine(r.topLeft(), r.topRight() - QPoint(1, 0));
    p.drawLine(r.topLeft(), r.bottomLeft() - QPoint(0, 1));
    p.setPen(dark);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    if (!down) {
        p.setPen(shade);
        p.drawLine(r.bottomLeft() + QPoint(1, -1), r.bottomRight() - QPoint(1, 1));
        p.drawLine(r.topRight() + QPoint(-1, 1), r.bottomRight() - QPoint(1, 1));
    }
    QRect textRect = r.adjusted(2, 2, -2, -2);
    if (down) textRect.translate(1, 1);
    p.setPen(pal.color(isEnabled() && available_ ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawText(textRect, Qt::AlignCenter | Qt::TextWordWrap, text());
    if (hasFocus()) {
        // The caption's colour, which reads on the face, two pixels wide.
        p.setPen(QPen(pal.color(QPalette::ButtonText), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(r).adjusted(3, 3, -3, -3));
    }
}

void SolidButton::setAvailable(bool on) {
    if (available_ == on) return;
    available_ = on;
    setDown(false);
    update();
    QAccessible::State changed;
    changed.disabled = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

namespace {
// A press of a button, by the mouse or by the keys that press it.
bool isPress(const QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick: return true;
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            const int key = static_cast<const QKeyEvent*>(event)->key();
            return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
        }
        default: return false;
    }
}
}  // namespace

bool SolidButton::event(QEvent* event) {
    if (!available_ && isPress(event)) {
        event->accept();
        return true;
    }
    return QPushButton::event(event);
}

ChipMarker::ChipMarker(QWidget* parent, QRect at) : QPushButton(QStringLiteral("B"), parent) {
    setGeometry(at);
    setFocusPolicy(Qt::NoFocus);
    // A click on the chip lands on the spot beneath it, so the whole spot takes bets.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFont(tableFont(kDefaultFont));
    hide();
}

void ChipMarker::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), colour(kMarkerYellow));
    p.setPen(QColor(0x80, 0x80, 0x00));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(Qt::black);
    p.drawText(rect(), Qt::AlignCenter, text());
}

}  // namespace spz
