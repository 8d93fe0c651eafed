#pragma once

#include "desktop/shell.h"
#include "desktop/prompter.h"

class QTextStream;
class QWidget;

// Message boxes and the beep of the desktop.
class MessageBoxPrompter : public Prompter
{
public:
    explicit MessageBoxPrompter(QWidget *parentWindow = nullptr) : parent(parentWindow) { }
    void setParentWindow(QWidget *window) { parent = window; }
    // From now on every message is a line "vantor: TEXT" on the stream and
    // every question is answered No. At exit nobody may be looking (the
    // session may be ending), and a box would keep the program running.
    void writeTo(QTextStream *stream) { messages = stream; }

    void warning(const QString &text, std::function<void()> closed) override;
    void error(const QString &text) override;
    void information(const QString &caption, const QString &text) override;
    void question(const QString &text, std::function<void(bool yes)> answered) override;
    void beep() override;

private:
    bool written(const QString &text);

    QWidget *parent;
    QTextStream *messages = nullptr;
};

// Programs and addresses started through the desktop.
class DesktopShell : public Shell
{
public:
    bool openUrl(const QString &address) override;
    bool startDetached(const QString &program, const QStringList &arguments) override;
};
