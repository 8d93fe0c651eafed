#include "ui/programsearch.h"

#include <QStandardPaths>

QString findProgramOnPath(const QString &name)
{
    const QString found = QStandardPaths::findExecutable(name);
    if (!found.isEmpty())
        return found;
    return QStandardPaths::findExecutable(name, {QStringLiteral("/usr/games")});
}
