#include "form2.h"

#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QTimer>

#include <utility>

#include "faces.h"
#include "game.h"
#include "look.h"
#include "twips.h"

namespace {

// Where each control sits, in twips: left, top, width, height.
struct Place {
    int left, top, width, height;
    // Edges, not sizes, are rounded, as on the table.
    QRect pixels(double scale) const {
        const int x = spz::twipsToPixels(left, scale), y = spz::twipsToPixels(top, scale);
        return {x, y, spz::twipsToPixels(left + width, scale) - x, spz::twipsToPixels(top + height, scale) - y};
    }
};

constexpr Place kClient{0, 0, 4770, 2580};
constexpr Place kTitle{120, 120, 3495, 495};
// The line from (120, 600) to (4320, 600) as its 2-pixel band centred on y = 600.
constexpr Place kLine1{120, 585, 4200, 30};
constexpr Place kLabel1{360, 1080, 1695, 375};
constexpr Place kAccountBalance{2280, 1080, 1695, 315};
constexpr Place kCommand1{2040, 1680, 2055, 375};

constexpr int kTitlePoints = 18, kCaptionPoints = 12;
// The layout's default face for the controls, so a large desktop font cannot clip
// "$100" or "Begin".
constexpr int kControlPoints = 8;

// Point sizes as pixels at 96 dpi, so the layout does not depend on the screen.
QFont face(const char* family, int points, double scale) {
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(spz::pointsToPixels(points, scale));
    return f;
}

QLabel* label(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // As every label the layout gives no colour; the window's back is that face already.
    spz::paintOpaque(l);
    return l;
}

}  // namespace

Form2::Form2(std::function<void()> openTable, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      openTable_(std::move(openTable)) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose);

    title_ = label(this, "title", QStringLiteral("Spinzelle"));

    line_ = new QFrame(this);
    line_->setObjectName(QStringLiteral("Line1"));
    line_->setFrameShape(QFrame::HLine);
    line_->setFrameShadow(QFrame::Plain);

    QLabel* fundsCaption = fundsCaption_ = label(this, "Label1", QStringLiteral("Starting Funds:"));

    // Created in tab order: "Begin" is the first stop, the amount the second.
    Command1_ = new QPushButton(QStringLiteral("Begin"), this);
    Command1_->setObjectName(QStringLiteral("Command1"));
    Command1_->setDefault(true);

    AccountBalance_ = new QComboBox(this);
    AccountBalance_->setObjectName(QStringLiteral("AccountBalance"));
    // Typing is allowed; typed text stays as typed (no completion, no new list lines).
    AccountBalance_->setEditable(true);
    AccountBalance_->setCompleter(nullptr);
    AccountBalance_->setInsertPolicy(QComboBox::NoInsert);
    fundsCaption->setBuddy(AccountBalance_);  // a screen reader names the box by its caption

    // Kept idle: every change of the text already re-checks "Begin", so no polling.
    Timer1_ = new QTimer(this);
    Timer1_->setObjectName(QStringLiteral("Timer1"));
    Timer1_->setInterval(1);
    connect(Timer1_, &QTimer::timeout, this, &Form2::Timer1_Timer);

    connect(AccountBalance_, &QComboBox::currentTextChanged, this, &Form2::Timer1_Timer);
    connect(Command1_, &QPushButton::clicked, this, &Form2::Command1_Click);

    drawAt(scale_);
    Form_Load();
    Timer1_Timer();
}

void Form2::drawAt(double scale) {
    scale_ = scale;
    setFixedSize(kClient.pixels(scale_).size());
    title_->setGeometry(kTitle.pixels(scale_));
    title_->setFont(face(spz::faces::kArial, kTitlePoints, scale_));
    line_->setGeometry(kLine1.pixels(scale_));
    line_->setLineWidth(kLine1.pixels(scale_).height());
    fundsCaption_->setGeometry(kLabel1.pixels(scale_));
    fundsCaption_->setFont(face(spz::faces::kArial, kCaptionPoints, scale_));
    Command1_->setGeometry(kCommand1.pixels(scale_));
    AccountBalance_->setGeometry(kAccountBalance.pixels(scale_));
    for (QWidget* control : {static_cast<QWidget*>(Command1_), static_cast<QWidget*>(AccountBalance_)})
        control->setFont(face(spz::faces::kMsSansSerif, kControlPoints, scale_));
}

QSize Form2::clientTwips() { return {kClient.width, kClient.height}; }

void Form2::Form_Load() {
    AccountBalance_->addItems({QStringLiteral("$25"), QStringLiteral("$50"),
                               QStringLiteral("$100"), QStringLiteral("$500")});
    // Nothing is chosen until the player picks or types an amount.
    AccountBalance_->setCurrentIndex(-1);
}

void Form2::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Command1_->click();  // nothing while no amount is chosen
        return;
    }
    QWidget::keyPressEvent(event);
}

void Form2::Timer1_Timer() { Command1_->setEnabled(!AccountBalance_->currentText().isEmpty()); }

void Form2::Command1_Click() {
    const QString text = AccountBalance_->currentText();
    if (text.isEmpty()) return;
    if (text == QLatin1String("$25"))
        spz::startingfunds = 25;
    else if (text == QLatin1String("$50"))
        spz::startingfunds = 50;
    else if (text == QLatin1String("$100"))
        spz::startingfunds = 100;
    else
        spz::startingfunds = 500;
    // The table's first game reads startingfunds as it loads, so it opens only now.
    if (openTable_) openTable_();
    close();
}
