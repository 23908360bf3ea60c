// The game as the desktop sees it: the app id and icon its windows carry, and its
// text in a proportional face even where fontconfig offers a monospace one for the
// desktop's default (the test runs with such a fontconfig).
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFontInfo>
#include <QMessageBox>
#include <QTest>

#include "program.h"
#include "table_fakes.h"

using namespace fakes;

namespace {

// Every widget of the window whose text is in a fixed-pitch face, with that face.
std::string monospaced(QWidget* window) {
    QStringList found;
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        const QFontInfo face(w->font());
        if (face.fixedPitch()) found << w->metaObject()->className() + QStringLiteral(" ") + w->objectName() + ": " + face.family();
    }
    return found.join(QStringLiteral("; ")).toStdString();
}

}  // namespace

TEST(Desktop, NoTextInAMonospaceFace) {
    ASSERT_TRUE(QFontInfo(QFont(QStringLiteral("Sans Serif"))).fixedPitch())
        << "this fontconfig should resolve Sans Serif to a monospace face";
    EXPECT_FALSE(QFontInfo(QApplication::font()).fixedPitch()) << QFontInfo(QApplication::font()).family().toStdString();

    Services s;
    spz::Program program(s.table());
    program.start();
    QWidget* start = program.startWindow();
    EXPECT_EQ(monospaced(start), "");

    auto* funds = child<QComboBox>(start, "AccountBalance");
    funds->setCurrentIndex(funds->findText(QStringLiteral("$25")));
    QTest::mouseClick(child<QPushButton>(start, "Command1"), Qt::LeftButton);
    idle();
    ASSERT_TRUE(program.table());
    EXPECT_EQ(monospaced(program.table()), "");  // the menu and its menus too

    QMessageBox result(QMessageBox::NoIcon, QStringLiteral("Spinzelle"), QStringLiteral("You Won $ 35"));
    EXPECT_EQ(monospaced(&result), "");
    program.table()->close();
}

TEST(Desktop, WindowsCarryTheMenuEntrysIdAndTheBuiltInIcon) {
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral(SPINZELLE_APP_ID));
    // Pictures of fixed sizes: an SVG icon has none, and would load the SVG engine at start.
    const QIcon icon = QApplication::windowIcon();
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {64, 64}}));
    EXPECT_EQ(icon.pixmap(32).size(), QSize(32, 32));
}
