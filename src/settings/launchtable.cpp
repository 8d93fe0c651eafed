#include "settings/launchtable.h"

namespace {

struct GameDefaults
{
    const char *name;
    const char *params;
    const char *steamParams;
};

const GameDefaults gameDefaults[LaunchGameCount] = {
    {"HL", "-console", "-applaunch 10"},
    {"HL2", "-steam -game hl2mp", "-applaunch 220"},
    {"CS1.5", "-game cstrike -console", "-applaunch 10"},
    {"CS1.6", "-game cstrike", "-applaunch 10"},
    {"CZERO", "-game czero", "-applaunch 80"},
    {"CSS", "-steam -game cstrike -console", "-applaunch 240"},
    {"CSP", "-steam -game cspromod", "-applaunch 240"},
    {"DOD", "-game dod", "-applaunch 30"},
    {"DODS", "-game dod", "-applaunch 300"},
    {"TFC", "-game tfc", "-applaunch 20"},
    {"TF2", "-game tf", "-applaunch 440"},
    {"GMOD", "-game gmod", "-applaunch 4000"},
    {"DMC", "-game dmc", "-applaunch 40"},
    {"RC", "-game rc", "-applaunch 60"},
    {"L4D", "-game left4dead", "-applaunch 500"},
};

bool validIndex(int index)
{
    return index >= 0 && index < LaunchGameCount;
}

} // namespace

QString launchGameName(int index)
{
    return validIndex(index) ? QString::fromLatin1(gameDefaults[index].name) : QString();
}

void defaultParams(int index, QString &target)
{
    if (validIndex(index))
        target = QString::fromLatin1(gameDefaults[index].params);
}

void defaultSteamParams(int index, QString &target)
{
    if (validIndex(index))
        target = QString::fromLatin1(gameDefaults[index].steamParams);
}

LaunchTable defaultLaunchTable()
{
    LaunchTable table;
    for (int i = 0; i < LaunchGameCount; ++i) {
        defaultParams(i, table[i].params);
        defaultSteamParams(i, table[i].steamParams);
    }
    return table;
}
