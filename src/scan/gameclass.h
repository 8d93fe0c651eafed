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
