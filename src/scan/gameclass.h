#pragma once

#include "query/serverinfo.h"

#include <QString>

// Filter value of a game that is listed whatever the "Show only" boxes say.
constexpr int AlwaysListed = -1;

// What a reply's game is: the text of the "Game" column, the "Show only"
// filter that must be ticked (a GameFilter, or AlwaysListed) and the row icon.
struct GameClass
{
    QString code;
    int filter = AlwaysListed;
    int icon = 0;
};

// Decides by gameDir, then description, protocol and proxy; every comparison
// is exact and case-sensitive.
GameClass classifyGame(const ServerInfo &info);

// The icon of the "A" column.
int accessIcon(quint8 password, quint8 players, quint8 maxPlayers);

struct OsText
{
    QString text;
    int icon = 0;
};

// "WIN" for 'w' or 'W', "LIN" for everything else.
OsText osText(char os);

// The full name of a row's game, from its game code and icon (HLTV and demo
// rows share the Counter-Strike codes); empty for a game not recognised.
QString gameName(const QString &code, int icon);

// "Windows", "macOS" or "Linux" for the operating-system letter of a reply
// ('m' and 'o' are the two letters Mac servers send).
QString osName(char os);
