#include "look.h"

#include <QAccessible>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>
#include <cmath>

#include "faces.h"
#include "twips.h"

namespace spz {

using namespace layout;

namespace {
double scale_ = 1;
}  // namespace

double tableScale() { return scale_; }
void setTableScale(double scale) { scale_ = scale; }

QRect pixels(Twips t) {
    // Edges, not sizes, are rounded, so what meets in the layout still meets.
    auto px = [](int twips) { return twipsToPixels(twips, scale_); };
    auto span = [&](int from, int length) { return length > 0 ? std::max(1, px(from + length) - px(from)) : 0; };
    return {px(t.left), px(t.top), span(t.left, t.width), span(t.top, t.height)};
}

int penWidth(int pixelsAtOne) { return std::max(1, static_cast<int>(std::lround(pixelsAtOne * scale_))); }

void place(QWidget* w, Twips t) {
    w->setProperty("twips", QRect(t.left, t.top, t.width, t.height));
    w->setGeometry(pixels(t));
}

void setTableFont(QWidget* w, FontSpec style) {
    w->setProperty("tableFont", QVariantList{static_cast<int>(style.face), style.points, style.bold});
    w->setFont(tableFont(style));
}

void placeAgain(QWidget* root) {
    QList<QWidget*> all = root->findChildren<QWidget*>();
    all.prepend(root);
    for (QWidget* w : all) {
        if (const QVariant t = w->property("twips"); t.isValid()) {
            const QRect r = t.toRect();
            w->setGeometry(pixels({r.x(), r.y(), r.width(), r.height()}));
        }
        if (const QVariantList f = w->property("tableFont").toList(); f.size() == 3)
            w->setFont(tableFont({static_cast<Face>(f[0].toInt()), f[1].toDouble(), f[2].toBool()}));
    }
}

void paintOpaque(QWidget* label) {
    label->setBackgroundRole(QPalette::Button);
    label->setForegroundRole(QPalette::WindowText);  // not the button text a button face brings
    label->setAutoFillBackground(true);
}

namespace {
// The installed font that stands in for a face (faces.h); the layout's default
// face is MS Sans Serif.
QString installedFamily(Face face) {
    switch (face) {
        case Face::Sylfaen: return QString::fromLatin1(faces::kSylfaen);
        case Face::Arial: return QString::fromLatin1(faces::kArial);
        default: return QString::fromLatin1(faces::kMsSansSerif);
    }
}
}  // namespace

QFont tableFont(FontSpec style) {
    QFont f(installedFamily(style.face));
    f.setPixelSize(pointsToPixels(style.points, scale_));
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

namespace {
// A classic light desktop scheme, the one the layout's system colours come from.
constexpr QRgb kFace = 0xF0F0F0, kInk = 0x000000, kWindow = 0xFFFFFF, kLight3D = 0xE3E3E3, kActiveBorder = 0xB4B4B4,
               kShadow = 0xA0A0A0, kDarkShadow = 0x696969, kHighlight = 0x0066CC, kHighlightText = 0xFFFFFF;
// Dimmer than the ink at a glance, yet 4.5:1 on the face.
constexpr QRgb kGrayText = 0x6D6D6D;
}  // namespace

QPalette tablePalette() {
    QPalette p(QColor::fromRgb(kInk), QColor::fromRgb(kFace), QColor::fromRgb(kWindow), QColor::fromRgb(kShadow),
               QColor::fromRgb(kActiveBorder), QColor::fromRgb(kInk), QColor::fromRgb(kWindow),
               QColor::fromRgb(kWindow), QColor::fromRgb(kFace));
    p.setColor(QPalette::Midlight, QColor::fromRgb(kLight3D));
    p.setColor(QPalette::Shadow, QColor::fromRgb(kDarkShadow));
    p.setColor(QPalette::Highlight, QColor::fromRgb(kHighlight));
    p.setColor(QPalette::HighlightedText, QColor::fromRgb(kHighlightText));
    p.setColor(QPalette::AlternateBase, QColor::fromRgb(kLight3D));
    p.setColor(QPalette::ToolTipBase, QColor::fromRgb(0xFFFFE1));
    p.setColor(QPalette::ToolTipText, QColor::fromRgb(kInk));
    p.setColor(QPalette::PlaceholderText, QColor::fromRgb(kGrayText));
    p.setColor(QPalette::Link, QColor::fromRgb(kHighlight));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, QColor::fromRgb(kGrayText));
    return p;
}

QColor colour(Role role) {
    switch (role) {
        case Role::GrayText: return QColor::fromRgb(kGrayText);
        case Role::HighlightText: return QColor::fromRgb(kHighlightText);
        case Role::Light3D: return QColor::fromRgb(kLight3D);
        case Role::ActiveBorder: return QColor::fromRgb(kActiveBorder);
        case Role::ButtonText:
        case Role::None: break;
    }
    return QColor::fromRgb(kInk);
}

Shape::Shape(QWidget* parent, const ShapeSpec& shape)
    : QWidget(parent), fill_(colour(shape.fill)), border_(shape.border), circle_(shape.circle) {
    setObjectName(QString::fromLatin1(shape.name.data(), static_cast<int>(shape.name.size())));
    place(this, shape.at);
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
        const int w = penWidth(2);
        p.setPen(QPen(Qt::black, w));
        p.drawEllipse(r.adjusted(w / 2.0, w / 2.0, -w / 2.0, -w / 2.0));
        p.setPen(QPen(Qt::white, w));
        p.drawEllipse(r.adjusted(1.5 * w, 1.5 * w, -1.5 * w, -1.5 * w));
    }
}

void Shape::setRing(bool on) {
    if (ring_ == on) return;
    ring_ = on;
    update();
}

Line::Line(QWidget* parent, Twips from, int thickness) : QWidget(parent) {
    place(this, {from.left, from.top, from.width, thickness * kTwipsPerPixel});
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
    if (ring_) {
        // The caption's colour, which reads on the face, two pixels wide.
        p.setPen(QPen(pal.color(QPalette::ButtonText), penWidth(2)));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(r).adjusted(3, 3, -3, -3));
    }
}

void SolidButton::setRing(bool on) {
    if (ring_ == on) return;
    ring_ = on;
    update();
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

void OptionButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton o;
    initStyleOption(&o);
    o.rect = style()->subElementRect(QStyle::SE_RadioButtonIndicator, &o, this);
    if (!rect().contains(o.rect)) {
        const int side = std::min(width(), height());
        o.rect = QRect(0, (height() - side) / 2, side, side);
    }
    p.drawPrimitive(QStyle::PE_IndicatorRadioButton, o);
}

void FigureLabel::paintEvent(QPaintEvent* event) {
    const QRect room = contentsRect();
    const QString figure = text();
    QFont face = font();
    const int wide = QFontMetrics(face).horizontalAdvance(figure);
    if (wide <= room.width()) {
        QLabel::paintEvent(event);
        return;
    }
    int size = std::max(1, QFontInfo(face).pixelSize() * room.width() / wide);
    face.setPixelSize(size);
    while (size > 1 && QFontMetrics(face).horizontalAdvance(figure) > room.width()) face.setPixelSize(--size);
    QPainter p(this);
    p.setFont(face);
    style()->drawItemText(&p, room, alignment(), palette(), isEnabled(), figure, foregroundRole());
}

ChipMarker::ChipMarker(QWidget* parent, Twips at) : QPushButton(QStringLiteral("B"), parent) {
    place(this, at);
    setFocusPolicy(Qt::NoFocus);
    // A click on the chip lands on the spot beneath it, so the whole spot takes bets.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setTableFont(this, kDefaultFont);
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
