#pragma once
// What the table window asks of the world outside the rules: pauses and message
// boxes. Tests hand in their own so no one has to wait or click OK.

#include <QString>

class QWidget;

namespace spz {

class Pause {
public:
    virtual ~Pause() = default;
    virtual void sleep(int milliseconds) = 0;
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // A modal box with OK alone.
    virtual void inform(QWidget* parent, const QString& prompt) = 0;
    // A modal box with OK and Cancel, OK the default. True only for OK.
    virtual bool confirm(QWidget* parent, const QString& prompt) = 0;
};

class ThreadPause final : public Pause {
public:
    void sleep(int milliseconds) override;
};

// QMessageBox, titled with the application's name and with no icon.
class QtMessageBoxes final : public MessageBoxes {
public:
    void inform(QWidget* parent, const QString& prompt) override;
    bool confirm(QWidget* parent, const QString& prompt) override;
};

}  // namespace spz
