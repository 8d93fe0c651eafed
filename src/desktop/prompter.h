#pragma once

#include <QString>

#include <functional>

// Message boxes and the beep, as the logic needs them. The windows answer with
// real dialogs; tests answer with a script. No box waits for the user: each
// call returns at once with the box open, and what must follow the user's
// answer goes into the handler, which runs when the box closes. Replies and
// timers go on being handled meanwhile.
class Prompter
{
public:
    virtual ~Prompter() = default;
    // A warning box with an OK button; `closed` runs when it is closed.
    virtual void warning(const QString &text, std::function<void()> closed = {}) = 0;
    // A message box captioned "Error" with an OK button.
    virtual void error(const QString &text) = 0;
    // A message box with the given caption and an OK button.
    virtual void information(const QString &caption, const QString &text) = 0;
    // A confirmation box with Yes and No; `answered` gets true for Yes.
    virtual void question(const QString &text, std::function<void(bool yes)> answered) = 0;
    // The system's default beep.
    virtual void beep() = 0;
};
