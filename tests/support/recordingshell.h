#pragma once

#include "desktop/shell.h"

#include <QStringList>

// Starts nothing; keeps every address opened and every program started, the
// program followed by its arguments, one entry per call.
class RecordingShell : public Shell
{
public:
    QStringList opened;
    QList<QStringList> started;

    bool openUrl(const QString &address) override
    {
        opened << address;
        return true;
    }
    bool startDetached(const QString &program, const QStringList &arguments) override
    {
        started << (QStringList{program} + arguments);
        return true;
    }
};
