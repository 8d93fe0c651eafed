#pragma once

#include <QString>
#include <QtGlobal>

// What every info reply yields, whatever its dialect ('m', 'I' or the old
// text string). The field order is the order AddServer takes them in.
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

    bool operator==(const ServerInfo &o) const
    {
        return gameDir == o.gameDir && description == o.description && hostName == o.hostName
            && address == o.address && port == o.port && protocol == o.protocol && map == o.map
            && players == o.players && maxPlayers == o.maxPlayers && os == o.os
            && password == o.password && proxy == o.proxy;
    }
};
