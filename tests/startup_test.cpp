// The start-up window: the choice of starting funds and the hand-over to the table.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "form2.h"
#include "game.h"

namespace {

class StartupWindow : public ::testing::Test {
protected:
    void SetUp() override { open(); }
    void TearDown() override { delete form; }  // still here only if never closed

    // A fresh window, as the program opens it at start.
    void open() {
        spz::startingfunds = 0;
        tableOpened = 0;
        form = new Form2([this] {
            ++tableOpened;
            fundsWhenTableOpened = spz::startingfunds;
        });
        form->show();
        combo = form->findChild<QComboBox*>("AccountBalance");
        begin = form->findChild<QPushButton*>("Command1");
        ASSERT_TRUE(combo && begin);
    }

    void type(const QString& text) { QTest::keyClicks(combo->lineEdit(), text); }
    void pressBegin() { QTest::mouseClick(begin, Qt::LeftButton); }

    // Closed and destroyed, so it can never be shown again.
    bool gone() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return form.isNull();
    }

    QPointer<Form2> form;
    QComboBox* combo = nullptr;
    QPushButton* begin = nullptr;
    int tableOpened = 0;
    spz::Money fundsWhenTableOpened = 0;
};

TEST_F(StartupWindow, StartsWithNothingChosenAndBeginDisabled) {
    EXPECT_EQ(form->windowTitle(), "Form2");
    EXPECT_TRUE(combo->currentText().isEmpty());
    EXPECT_FALSE(begin->isEnabled());
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    EXPECT_EQ(items, (QStringList{"$25", "$50", "$100", "$500"}));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(combo)->text(QAccessible::Name), "Starting Funds:");

    pressBegin();
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(tableOpened, 0);
    EXPECT_FALSE(gone());
}

TEST_F(StartupWindow, ListEntryIsStoredBeforeTheTableOpensThenTheWindowCloses) {
    for (const auto& [text, funds] : {std::pair{"$25", 25}, std::pair{"$50", 50},
                                      std::pair{"$100", 100}, std::pair{"$500", 500}}) {
        SCOPED_TRACE(text);
        combo->setCurrentIndex(combo->findText(text));
        pressBegin();
        EXPECT_EQ(tableOpened, 1);
        EXPECT_EQ(fundsWhenTableOpened, funds);
        EXPECT_TRUE(gone());
        open();
    }
}

TEST_F(StartupWindow, AnyOtherTypedTextGivesFiveHundred) {
    for (const char* text : {"250", " $25", "$25 ", "$5"}) {
        SCOPED_TRACE(text);
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
        ASSERT_TRUE(combo->hasFocus());  // Begin is still disabled, so the amount has it
        type(text);
        EXPECT_EQ(combo->currentText(), text);  // taken as typed, not completed
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);  // Begin is the default button
        EXPECT_EQ(combo->count(), 4);
        EXPECT_EQ(tableOpened, 1);
        EXPECT_EQ(spz::startingfunds, 500);
        EXPECT_TRUE(gone());
        open();
    }
}

TEST_F(StartupWindow, BeginFollowsTheTextBeingClearedAndRetyped) {
    type("$75");
    EXPECT_TRUE(begin->isEnabled());
    for (int i = 0; i < 3; ++i) QTest::keyClick(combo->lineEdit(), Qt::Key_Backspace);
    EXPECT_FALSE(begin->isEnabled());

    combo->setCurrentIndex(0);
    EXPECT_TRUE(begin->isEnabled());
    combo->clearEditText();
    EXPECT_FALSE(begin->isEnabled());
    pressBegin();
    EXPECT_EQ(tableOpened, 0);
}

TEST_F(StartupWindow, ClosingByTheFrameOpensNoTable) {
    combo->setCurrentIndex(1);
    form->close();
    EXPECT_TRUE(gone());
    EXPECT_EQ(tableOpened, 0);
    EXPECT_EQ(spz::startingfunds, 0);
}

TEST_F(StartupWindow, FixedLayout) {
    EXPECT_EQ(form->size(), QSize(318, 172));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    for (const char* name : {"title", "Line1", "Label1", "AccountBalance", "Command1"}) {
        auto* w = form->findChild<QWidget*>(name);
        ASSERT_NE(w, nullptr) << name;
        EXPECT_TRUE(form->rect().contains(w->geometry())) << name;
    }
    // With two stops Tab alternates either way; the order decides which is first.
    QList<QWidget*> chain;
    for (QWidget* w = form->nextInFocusChain(); w != form; w = w->nextInFocusChain()) chain << w;
    EXPECT_LT(chain.indexOf(begin), chain.indexOf(combo));
}

TEST_F(StartupWindow, LabelsUseArialAtFixedPixelSizesAndFit) {
    for (const auto& [name, pixels] : {std::pair{"title", 24}, std::pair{"Label1", 16}}) {
        auto* l = form->findChild<QLabel*>(name);
        ASSERT_NE(l, nullptr) << name;
        QFontInfo info(l->font());
        EXPECT_EQ(info.family(), "Liberation Sans") << name;
        EXPECT_EQ(l->font().family().toStdString(), "Liberation Sans") << name;  // installed, not a name to map
        EXPECT_EQ(info.pixelSize(), pixels) << name;
        EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->width()) << name;
    }

    EXPECT_EQ(begin->font().family().toStdString(), "Liberation Sans Narrow");

    // A 16 pt desktop font leaves the controls alone: "$100" and "Begin" show whole.
    const QFont desktop = QApplication::font();
    QFont large = desktop;
    large.setPointSize(16);
    QApplication::setFont(large);
    delete form;
    open();
    combo->setCurrentIndex(2);
    QLineEdit* edit = combo->lineEdit();
    EXPECT_LE(edit->fontMetrics().horizontalAdvance("$100"), edit->contentsRect().width());
    EXPECT_LE(edit->fontMetrics().height(), edit->contentsRect().height());
    EXPECT_LE(begin->fontMetrics().horizontalAdvance("Begin"), begin->contentsRect().width());
    EXPECT_LE(begin->fontMetrics().height(), begin->contentsRect().height());
    QApplication::setFont(desktop);
}

}  // namespace

int main(int argc, char** argv) {
    // Headless unless a display is asked for, so test discovery needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", SPINZELLE_OFFSCREEN);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
