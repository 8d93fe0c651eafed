#pragma once

#include <QString>

// Message boxes and the beep, as the logic needs them. The windows answer with
// real dialogs; tests answer with a script.
class Prompter
{
public:
    virtual ~Prompter() = default;
    // A warning box with an OK button.
    virtual void warning(const QString &text) = 0;
    // A message box captioned "Error" with an OK button.
    virtual void error(const QString &text) = 0;
    // A message box with the given caption and an OK button.
    virtual void information(const QString &caption, const QString &text) = 0;
    // A confirmation box with Yes and No; true for Yes.
    virtual bool question(const QString &text) = 0;
    // The system's default beep.
    virtual void beep() = 0;
};
