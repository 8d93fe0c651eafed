#include "join/commandline.h"

#include <QCoreApplication>
#include <QProcess>

namespace {

struct DispatchRow
{
    const char *code;
    int entry;
    const char *emptyPathPrefix;
};

// Entries 0..14 in launch table order: HL, HL2, CS1.5, CS1.6, CZERO, CSS, CSP,
// DOD, DODS, TFC, TF2, GMOD, DMC, RC, L4D. The prefixes of DOD, DODS, GMOD, TFC
// and TF2 name their engine rather than the game.
const DispatchRow dispatchRows[] = {
    {"1.6", 3, "CS 1.6 "},
    {"1.5", 2, "CS1.5 "},
    {"CZ", 4, "CZero "},
    {"CSS", 5, "CSS "},
    {"CSP", 6, "CSP "},
    {"HL", 0, "HL "},
    {"HL2", 1, "HL2 "},
    {"DM", 1, "HL2 "},
    {"TDM", 1, "HL2 "},
    {"CTF", 1, "HL2 "},
    {"DOD", 7, "HL "},
    {"DODS", 8, "HL2 "},
    {"GMOD", 11, "HL2 "},
    {"TFC", 9, "HL "},
    {"TF2", 10, "HL2 "},
    {"DMC", 12, "DMC "},
    {"RC", 13, "RC "},
    {"L4D", 14, "L4D "},
};

} // namespace

std::optional<GameDispatch> dispatchGame(const QString &code)
{
    for (const DispatchRow &row : dispatchRows) {
        if (code == QLatin1String(row.code))
            return GameDispatch{row.entry, QString::fromLatin1(row.emptyPathPrefix)};
    }
    return std::nullopt;
}

QString launchArguments(const QString &params, const QString &address, const QString &portText,
                        const QString &passwordArgument)
{
    return params + QLatin1String(" +connect ") + address + QLatin1Char(':') + portText + QLatin1Char(' ')
        + passwordArgument;
}

QString passwordArgument(const QString &password)
{
    return QLatin1String("+password ") + password;
}

QString emptyPathMessage(const QString &prefix)
{
    //: %1 is a short game name with a trailing blank, such as "CS 1.6 " or "Steam ".
    return QCoreApplication::translate("Launch", "%1.exe path is empty").arg(prefix);
}

QString steamPathEmptyMessage()
{
    return emptyPathMessage(QStringLiteral("Steam "));
}

QString unknownGameMessage(const QString &code)
{
    return QCoreApplication::translate("Launch", "Unknown game: %1").arg(code);
}

QString serverFullQuestion()
{
    return QCoreApplication::translate("Launch", "Server is full.  Connect now ?");
}

QStringList splitCommandLine(const QString &commandLine)
{
    return QProcess::splitCommand(commandLine);
}
