#pragma once

#include "desktop/shell.h"

#include <QStringList>

// Starts nothing; keeps every address opened and every program started, the
// program followed by its arguments, one entry per call. Given a journal, it
// writes there too ("open: address", "start: program|argument|..."), so that
// a test sees the calls in order with other events.
class RecordingShell : public Shell
{
public:
    RecordingShell() = default;
    explicit RecordingShell(QStringList &journal) : log(&journal) { }

    QStringList opened;
    QList<QStringList> started;

    bool openUrl(const QString &address) override
    {
        opened << address;
        if (log)
            *log << QStringLiteral("open: ") + address;
        return true;
    }
    bool startDetached(const QString &program, const QStringList &arguments) override
    {
        started << (QStringList{program} + arguments);
        if (log)
            *log << QStringLiteral("start: ") + (QStringList{program} + arguments).join(u'|');
        return true;
    }

private:
    QStringList *log = nullptr;
};
