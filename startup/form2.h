#pragma once
// The start-up window: the player picks the starting funds and presses "Begin".

#include <functional>

#include <QWidget>

class QComboBox;
class QFrame;
class QLabel;
class QKeyEvent;
class QPushButton;
class QTimer;

// A fixed-size top-level window. It deletes itself when closed (WA_DeleteOnClose), so
// the program creates it with new and never touches it again after show(). "Begin"
// stores the chosen amount in spz::startingfunds, calls openTable and closes the
// window for good; closing it by its frame simply closes it.
class Form2 : public QWidget {
    Q_OBJECT

public:
    // openTable creates and shows the table window; it runs after startingfunds is set.
    explicit Form2(std::function<void()> openTable, QWidget* parent = nullptr);
    // The window as the screen fit sees it: its client area, nothing above it, its
    // scale, and a redraw at another.
    static QSize clientTwips();
    int addedHeight() const { return 0; }
    double scale() const { return scale_; }
    void drawAt(double scale);

protected:
    // Return or Enter presses "Begin", the window's default button.
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void Timer1_Timer();
    void Command1_Click();

private:
    void Form_Load();

    std::function<void()> openTable_;
    QComboBox* AccountBalance_ = nullptr;
    QPushButton* Command1_ = nullptr;
    QTimer* Timer1_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* fundsCaption_ = nullptr;
    QFrame* line_ = nullptr;
    double scale_ = 1;
};
