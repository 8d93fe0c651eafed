#include "settings/exefilter.h"

#include "settings/launchtable.h"

#include <QCoreApplication>

namespace {

QString allFiles()
{
    return QCoreApplication::translate("SettingsDialog", "All files (*)");
}

} // namespace

QString exeFileFilter(int gameIndex)
{
    // Entries of the Source engine, in launch table order.
    static const bool source[LaunchGameCount] = {
        false, true, false, false, false, true, true, false,
        true, false, true, true, false, false, true,
    };
    if (gameIndex < 0 || gameIndex >= LaunchGameCount)
        return QString();
    return source[gameIndex] ? QStringLiteral("Half-Life2 (hl2.exe)|HL2.EXE")
                             : QStringLiteral("Half-Life (hl.exe)|HL.EXE");
}

QString steamFileFilter()
{
    return QStringLiteral("Steam (steam.exe)|STEAM.EXE");
}

QString dialogNameFilters(const QString &filter)
{
    const qsizetype bar = filter.indexOf(u'|');
    if (bar < 0)
        return allFiles();
    const QString description = filter.left(bar);
    const QString pattern = filter.mid(bar + 1);
    QString patterns = pattern;
    if (pattern.toLower() != pattern)
        patterns += u' ' + pattern.toLower();
    return QStringLiteral("%1 (%2);;%3").arg(description, patterns, allFiles());
}

QString initialNameFilter(const QString &filter, bool programsEndInExe)
{
    const qsizetype bar = filter.indexOf(u'|');
    if (bar < 0)
        return allFiles();
    if (!programsEndInExe && filter.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        return allFiles();
    return dialogNameFilters(filter).section(QStringLiteral(";;"), 0, 0);
}
