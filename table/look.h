#pragma once
// Turns the layout tables into Qt geometry, fonts and colours, and the few plain
// drawn pieces of the table: felt shapes, lines and the chip markers.

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QRect>
#include <QWidget>
#include <functional>

#include "layout.h"

namespace spz {

// The table's scale: 1 draws the layout as designed, less shrinks all of it alike so
// the window fits a small or scaled screen.
double tableScale();
void setTableScale(double scale);
// Where twips land at the table's scale.
QRect pixels(layout::Twips t);
// A pen or ring width of so many pixels at scale 1.
int penWidth(int pixelsAtOne);
// Point sizes are for 96 dots per inch at the table's scale; set as pixels so the
// table never moves with the screen's DPI setting.
QFont tableFont(layout::FontSpec style);
// Set a widget's place and face from the layout and keep them, so that
// placeAgain() can set them anew at another scale.
void place(QWidget* w, layout::Twips t);
void setTableFont(QWidget* w, layout::FontSpec style);
void placeAgain(QWidget* root);
// A label as the layout draws one by default: opaque, in the button face and the
// window text, whatever lies behind it.
void paintOpaque(QWidget* label);

// The light desktop the table was drawn against, whatever the desktop's own scheme:
// the felt, spots, discs and history colours are fixed and only read on these.
QPalette tablePalette();
QColor colour(layout::Rgb rgb);
QColor colour(layout::Role role);
// How far apart two colours read, from 1:1 to 21:1.
double contrastRatio(const QColor& a, const QColor& b);
// Black or white, whichever reads better on the face.
QColor captionOn(const QColor& face);

// A filled rectangle or disc, with or without a one-pixel border.
class Shape final : public QWidget {
    Q_OBJECT

public:
    Shape(QWidget* parent, const layout::ShapeSpec& shape);
    QColor fill() const { return fill_; }
    // Makes the shape take clicks, as the chip discs do.
    void onClick(std::function<void()> action);
    // A ring round a disc whose option has the keyboard focus.
    void setRing(bool on);
    bool ring() const { return ring_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QColor fill_;
    bool border_;
    bool circle_;
    bool ring_ = false;
    std::function<void()> clicked_;
};

// A chip's option button: its round indicator alone, drawn as the style draws it, or
// smaller where the shrunk table leaves it less room, never cut off.
class OptionButton final : public QRadioButton {
    Q_OBJECT

public:
    using QRadioButton::QRadioButton;

protected:
    void paintEvent(QPaintEvent*) override;
};

// A straight horizontal line in the window text colour, from (left, top) across width.
class Line final : public QWidget {
    Q_OBJECT

public:
    Line(QWidget* parent, layout::Twips from, int thickness);

protected:
    void paintEvent(QPaintEvent*) override;
};

// A command button with a solid face: the palette's Button colour, a raised edge
// that sinks while pressed, and the caption centred in the colour that reads best.
class SolidButton : public QPushButton {
    Q_OBJECT

public:
    SolidButton(const QString& caption, QWidget* parent, QColor face = QColor());

    // Out of use for a while without being disabled: it looks and reads unavailable and
    // takes no press, but the keyboard focus stays on it, where the player left it.
    void setAvailable(bool on);
    bool available() const { return available_; }
    // The focus ring, drawn where the keyboard is.
    void setRing(bool on);
    bool ring() const { return ring_; }

protected:
    void paintEvent(QPaintEvent*) override;
    bool event(QEvent* event) override;

private:
    bool available_ = true;
    bool ring_ = false;
};

// A money display. Its figure hangs from the top right in the layout's face; one too
// wide for the label is drawn in a smaller size of that face, only as small as it
// needs, so no digit is ever cut off.
class FigureLabel final : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The small yellow button that shows the stake on a spot.
class ChipMarker final : public QPushButton {
    Q_OBJECT

public:
    ChipMarker(QWidget* parent, layout::Twips at);

protected:
    void paintEvent(QPaintEvent*) override;
};

}  // namespace spz
