#pragma once
// What the table window asks of the world outside the rules: pauses and message
// boxes. Tests hand in their own so no one has to wait or click OK.

#include <QString>
#include <chrono>

class QWidget;

namespace spz {

class Pause {
public:
    virtual ~Pause() = default;
    // A run of paced steps starts now (a spin's bar).
    virtual void begin() {}
    virtual void sleep(int milliseconds) = 0;
    // A result box is about to open over what was just said. The window goes on
    // meanwhile, so the caller checks afterwards whether its game is still on.
    virtual void beforeBox() {}
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // A modal box with OK alone.
    virtual void inform(QWidget* parent, const QString& prompt) = 0;
    // A modal box with OK and Cancel, OK the default. True only for OK.
    virtual bool confirm(QWidget* parent, const QString& prompt) = 0;
};

// Waits while the window goes on serving input, timers and the screen reader, so the
// table answers during a spin as fast as when idle. The steps of a run keep to one
// schedule from its start, so the work between them does not add up.
class LoopPause final : public Pause {
public:
    void begin() override;
    void sleep(int milliseconds) override;
    // While a screen reader listens, a quarter second for it to take what was said:
    // some take a new window's events ahead of all others.
    void beforeBox() override;

private:
    std::chrono::steady_clock::time_point due_{};
};

// QMessageBox, titled with the application's name and with no icon.
class QtMessageBoxes final : public MessageBoxes {
public:
    void inform(QWidget* parent, const QString& prompt) override;
    bool confirm(QWidget* parent, const QString& prompt) override;
};

}  // namespace spz
