#pragma once

#include <QString>
#include <QStringList>

// Starting other programs and opening addresses with the desktop's handler.
// The windows use the real desktop; tests record what would be started.
class Shell
{
public:
    virtual ~Shell() = default;
    virtual bool openUrl(const QString &address) = 0;
    // Starts a program without a shell and without waiting for it.
    virtual bool startDetached(const QString &program, const QStringList &arguments) = 0;
};
