#pragma once

#include "desktop/shell.h"
#include "desktop/prompter.h"

class QWidget;

// Message boxes and the beep of the desktop.
class MessageBoxPrompter : public Prompter
{
public:
    explicit MessageBoxPrompter(QWidget *parentWindow = nullptr) : parent(parentWindow) { }
    void setParentWindow(QWidget *window) { parent = window; }

    void warning(const QString &text, std::function<void()> closed) override;
    void error(const QString &text) override;
    void information(const QString &caption, const QString &text) override;
    void question(const QString &text, std::function<void(bool yes)> answered) override;
    void beep() override;

private:
    QWidget *parent;
};

// Programs and addresses started through the desktop.
class DesktopShell : public Shell
{
public:
    bool openUrl(const QString &address) override;
    bool startDetached(const QString &program, const QStringList &arguments) override;
};
