#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The launch table entry that starts a row's game, and the start of the text
// shown when that entry's executable path is empty.
struct GameDispatch
{
    int entry = -1;
    QString emptyPathPrefix;
};

// The entry for a row's game code (exact, case-sensitive), or none for a code
// that no entry starts.
std::optional<GameDispatch> dispatchGame(const QString &code);

// The arguments handed to the game or to Steam: the parameters, " +connect ",
// address, ":", port text, one blank and the password argument, joined as they are.
QString launchArguments(const QString &params, const QString &address, const QString &portText,
                        const QString &passwordArgument);

// "+password " followed by the password, as every later launch appends it.
QString passwordArgument(const QString &password);

QString emptyPathMessage(const QString &prefix);
QString steamPathEmptyMessage();
QString unknownGameMessage(const QString &code);
QString serverFullQuestion();

// The arguments of a command line: blanks separate them, double quotes group
// blanks into one argument and are removed, three double quotes in a row stand
// for one literal quote. Backslashes are plain characters.
QStringList splitCommandLine(const QString &commandLine);
