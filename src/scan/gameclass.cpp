#include "gameclass.h"

#include "listicons.h"
#include "settings/settingsmodel.h"

#include <QCoreApplication>
#include <QHash>

namespace {

bool isHltv(const ServerInfo &info)
{
    return info.description == QLatin1String("HLTV") || info.proxy == QLatin1String("1");
}

// A Counter-Strike 1.x server: protocol 47 and up is 1.6, anything older 1.5.
GameClass counterStrike(const ServerInfo &info, int icon)
{
    if (info.protocol > 46)
        return {QStringLiteral("1.6"), FilterCS16, icon};
    return {QStringLiteral("1.5"), FilterCS15, icon};
}

} // namespace

GameClass classifyGame(const ServerInfo &info)
{
    const QString &dir = info.gameDir;
    const QString &description = info.description;
    if (dir == QLatin1String("cstrike")) {
        if (description.contains(QLatin1String("Source")))
            return {QStringLiteral("CSS"), FilterCSS, IconCSS};
        return counterStrike(info, isHltv(info) ? IconHLTV : IconCS);
    }
    if (dir == QLatin1String("czero"))
        return {QStringLiteral("CZ"), FilterCZ, IconCZ};
    if (dir == QLatin1String("valve")) {
        if (isHltv(info))
            return counterStrike(info, IconHLTV);
        if (description == QLatin1String("Demo Playback"))
            return counterStrike(info, IconDemo);
        return {QStringLiteral("HL"), FilterHL1, IconHL};
    }
    if (dir == QLatin1String("dod")) {
        // Day of Defeat: Source shares the folder name with the original.
        if (description.contains(QLatin1String("Source")))
            return {QStringLiteral("DODS"), FilterDODS, IconDODS};
        return {QStringLiteral("DOD"), FilterDOD, IconDOD};
    }
    if (dir == QLatin1String("tfc"))
        return {QStringLiteral("TFC"), FilterTF, IconTFC};
    if (dir == QLatin1String("hl2mp")) {
        if (description == QLatin1String("Deathmatch"))
            return {QStringLiteral("DM"), FilterHL2, IconHL2};
        if (description == QLatin1String("Team Deathmatch"))
            return {QStringLiteral("TDM"), FilterHL2, IconHL2};
        if (description.contains(QLatin1String("Capture")))
            return {QStringLiteral("CTF"), FilterHL2, IconHL2};
        return {QStringLiteral("HL2"), FilterHL2, IconHL2};
    }
    if (dir == QLatin1String("tf"))
        return {QStringLiteral("TF2"), FilterTF2, IconTF2};
    if (dir == QLatin1String("cspromod"))
        return {QStringLiteral("CSP"), FilterCSP, IconCSS};
    if (dir == QLatin1String("dmc"))
        return {QStringLiteral("DMC"), FilterDMC, IconDMC};
    if (dir == QLatin1String("ricochet"))
        return {QStringLiteral("RC"), FilterRC, IconRC};
    if (dir == QLatin1String("left4dead"))
        return {QStringLiteral("L4D"), FilterL4D, IconL4D};
    if (dir == QLatin1String("garrysmod"))
        return {QStringLiteral("GMOD"), FilterGMOD, IconGMOD};
    return {dir, AlwaysListed, IconUnknown};
}

int accessIcon(quint8 password, quint8 players, quint8 maxPlayers)
{
    if (password == 0 && players < maxPlayers)
        return IconFree;
    if (password == 1)
        return IconPassword;
    return IconFull;
}

OsText osText(char os)
{
    if (os == 'W' || os == 'w')
        return {QStringLiteral("WIN"), IconWindows};
    return {QStringLiteral("LIN"), IconLinux};
}

QString gameName(const QString &code, int icon)
{
    if (icon == IconUnknown)
        return {};
    static const QHash<QString, QString> names = {
        {QStringLiteral("1.6"), QStringLiteral("Counter-Strike 1.6")},
        {QStringLiteral("1.5"), QStringLiteral("Counter-Strike 1.5")},
        {QStringLiteral("CSS"), QStringLiteral("Counter-Strike: Source")},
        {QStringLiteral("CZ"), QStringLiteral("Counter-Strike: Condition Zero")},
        {QStringLiteral("HL"), QStringLiteral("Half-Life")},
        {QStringLiteral("DOD"), QStringLiteral("Day of Defeat")},
        {QStringLiteral("DODS"), QStringLiteral("Day of Defeat: Source")},
        {QStringLiteral("TFC"), QStringLiteral("Team Fortress Classic")},
        {QStringLiteral("DM"), QStringLiteral("Half-Life 2: Deathmatch")},
        {QStringLiteral("TDM"), QStringLiteral("Half-Life 2: Team Deathmatch")},
        {QStringLiteral("CTF"), QStringLiteral("Half-Life 2: Capture the Flag")},
        {QStringLiteral("HL2"), QStringLiteral("Half-Life 2 Deathmatch")},
        {QStringLiteral("TF2"), QStringLiteral("Team Fortress 2")},
        {QStringLiteral("CSP"), QStringLiteral("CS Promod")},
        {QStringLiteral("DMC"), QStringLiteral("Deathmatch Classic")},
        {QStringLiteral("RC"), QStringLiteral("Ricochet")},
        {QStringLiteral("L4D"), QStringLiteral("Left 4 Dead")},
        {QStringLiteral("GMOD"), QStringLiteral("Garry's Mod")},
    };
    const QString name = names.value(code);
    if (icon == IconHLTV)
        return QCoreApplication::translate("ServerList", "%1 (HLTV)").arg(name);
    if (icon == IconDemo)
        return QCoreApplication::translate("ServerList", "%1 (demo playback)").arg(name);
    return name;
}

QString osName(char os)
{
    switch (os) {
    case 'w': case 'W': return QStringLiteral("Windows");
    case 'm': case 'M': case 'o': case 'O': return QStringLiteral("macOS");
    default: return QStringLiteral("Linux");
    }
}
