// The game as the desktop sees it: the app id and icon its windows carry, and its
// text in a proportional face even where fontconfig offers a monospace one for the
// desktop's default (the test runs with such a fontconfig).
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QMessageBox>
#include <QTemporaryDir>
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

TEST(Desktop, WindowsCarryTheMenuEntrysIdAndTheInstalledIcon) {
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral(SPINZELLE_APP_ID));
    EXPECT_FALSE(QApplication::windowIcon().pixmap(32).isNull());

    // An icon theme that holds the game's icon, as the package installs it.
    QTemporaryDir themes;
    const QString hicolor = themes.filePath(QStringLiteral("hicolor"));
    ASSERT_TRUE(QDir().mkpath(hicolor + QStringLiteral("/scalable/apps")));
    QFile index(hicolor + QStringLiteral("/index.theme"));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=Hicolor\nDirectories=scalable/apps\n\n"
                "[scalable/apps]\nSize=128\nMinSize=8\nMaxSize=512\nType=Scalable\n");
    index.close();
    ASSERT_TRUE(QFile::copy(QStringLiteral(":/icons/spinzelle.svg"), hicolor + QStringLiteral("/scalable/apps/spinzelle.svg")));

    const QStringList searchPaths = QIcon::themeSearchPaths();
    const QString theme = QIcon::themeName();
    QIcon::setThemeName(QStringLiteral("hicolor"));
    QIcon::setThemeSearchPaths({themes.path()});
    const QIcon installed = spz::gameIcon();
    EXPECT_EQ(installed.name(), QStringLiteral("spinzelle"));
    EXPECT_FALSE(installed.pixmap(32).isNull());

    // Without it, the copy built into the program.
    QIcon::setThemeSearchPaths({themes.filePath(QStringLiteral("none"))});
    const QIcon builtIn = spz::gameIcon();
    EXPECT_TRUE(builtIn.name().isEmpty());
    EXPECT_FALSE(builtIn.pixmap(32).isNull());

    QIcon::setThemeSearchPaths(searchPaths);
    QIcon::setThemeName(theme);
}
