#pragma once

#include <QString>
#include <QtGlobal>

// What every info reply yields, whatever its dialect ('m', 'I' or the old
// text string). The first twelve fields are in the order addOrUpdate takes them
// in; bots and ping come after them.
struct ServerInfo
{
    QString gameDir;
    QString description;
    QString hostName;
    QString address;     // dotted source address of the reply
    int port = 0;        // source port of the reply
    quint8 protocol = 0;
    QString map;
    quint8 players = 0;
    quint8 maxPlayers = 0;
    char os = 0;         // 'w' Windows, 'l' Linux, anything else as received
    quint8 password = 0; // 0 open, 1 password protected
    QString proxy;       // "\proxy\" of an old reply, empty otherwise
    int bots = -1;       // bots among the players; -1 when the reply does not say
    int ping = -1;       // ms from the info request to this reply; -1 when unknown

    bool operator==(const ServerInfo &o) const
    {
        return gameDir == o.gameDir && description == o.description && hostName == o.hostName
            && address == o.address && port == o.port && protocol == o.protocol && map == o.map
            && players == o.players && maxPlayers == o.maxPlayers && os == o.os
            && password == o.password && proxy == o.proxy && bots == o.bots && ping == o.ping;
    }
};
