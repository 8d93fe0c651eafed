#include "replybuilder.h"

#include <QtEndian>

#include <cstring>
#include <functional>

namespace {

const QByteArray kHeader("\xFF\xFF\xFF\xFF", 4);

enum ExtraDataFlag : quint8 { GamePort = 0x80, SteamId = 0x10, Keywords = 0x20, GameId = 0x01 };

void appendString(QByteArray *out, const QByteArray &text)
{
    out->append(text);
    out->append('\0');
}

void appendByte(QByteArray *out, int value)
{
    out->append(char(quint8(value)));
}

template<typename T>
void appendLittleEndian(QByteArray *out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out->append(bytes, sizeof(T));
}

QByteArray endpointText(const ServerConfig &server, quint16 port)
{
    return server.address.toString().toLatin1() + ':' + QByteArray::number(port);
}

// Lengthens the name so that the whole reply reaches the configured size; a reply
// already at or over that size is left as it is.
QByteArray padded(const ServerConfig &server, const std::function<QByteArray(const QByteArray &)> &build)
{
    const QByteArray plain = build(server.name);
    if (server.padName <= plain.size())
        return plain;
    return build(server.name + QByteArray(server.padName - plain.size(), '.'));
}

} // namespace

QByteArray sourceInfoReply(const ServerConfig &server, int players, quint16 port)
{
    return padded(server, [&](const QByteArray &name) {
        QByteArray out = kHeader + 'I';
        appendByte(&out, server.protocol);
        appendString(&out, name);
        appendString(&out, server.map);
        appendString(&out, server.gameDir);
        appendString(&out, server.description);
        appendLittleEndian(&out, quint16(server.appId));
        appendByte(&out, players);
        appendByte(&out, server.maxPlayers);
        appendByte(&out, server.bots);
        out.append(server.serverType);
        out.append(server.os);
        appendByte(&out, server.password);
        appendByte(&out, server.vac);
        appendString(&out, server.version);
        if (server.extraData) {
            appendByte(&out, GamePort | SteamId | Keywords | GameId);
            appendLittleEndian(&out, port);
            // A made-up but stable game-server id, distinct per address.
            appendLittleEndian(&out, quint64(90000000000000000ULL + (server.address.toIPv4Address() & 0xFFFFFF)));
            appendString(&out, server.keywords);
            appendLittleEndian(&out, quint64(server.appId));
        }
        return out;
    });
}

QByteArray goldSrcInfoReply(const ServerConfig &server, int players, quint16 port)
{
    return padded(server, [&](const QByteArray &name) {
        QByteArray out = kHeader + 'm';
        appendString(&out, endpointText(server, port));
        appendString(&out, name);
        appendString(&out, server.map);
        appendString(&out, server.gameDir);
        appendString(&out, server.description);
        appendByte(&out, players);
        appendByte(&out, server.maxPlayers);
        appendByte(&out, server.protocol);
        out.append(server.serverType);
        out.append(server.os);
        appendByte(&out, server.password);
        appendByte(&out, 0); // not a mod, so no mod block follows
        appendByte(&out, server.vac);
        appendByte(&out, server.bots);
        return out;
    });
}

QByteArray oldInfoReply(const ServerConfig &server, int players, quint16 port)
{
    return padded(server, [&](const QByteArray &name) {
        const QList<QPair<const char *, QByteArray>> pairs = {
            {"protocol", QByteArray::number(server.protocol)},
            {"address", endpointText(server, port)},
            {"players", QByteArray::number(players)},
            {"proxy", server.proxy},
            {"max", QByteArray::number(server.maxPlayers)},
            {"gamedir", server.gameDir},
            {"description", server.description},
            {"hostname", name},
            {"map", server.map},
            {"type", QByteArray(1, server.serverType)},
            {"password", QByteArray::number(server.password)},
            {"os", QByteArray(1, server.os)},
            {"secure", QByteArray::number(server.vac)},
        };
        QByteArray out = kHeader;
        appendString(&out, "infostringresponse");
        for (const auto &pair : pairs)
            out += '\\' + QByteArray(pair.first) + '\\' + pair.second;
        out.append('\0');
        return out;
    });
}

QByteArray playersReply(const QList<PlayerEntry> &players)
{
    QByteArray out = kHeader + 'D';
    appendByte(&out, int(players.size()));
    for (int i = 0; i < players.size(); ++i) {
        appendByte(&out, i);
        appendString(&out, players[i].name);
        appendLittleEndian(&out, players[i].frags);
        quint32 timeBits = 0;
        std::memcpy(&timeBits, &players[i].time, sizeof timeBits);
        appendLittleEndian(&out, timeBits);
    }
    return out;
}

QByteArray rulesReply(const QList<QPair<QByteArray, QByteArray>> &rules)
{
    QByteArray out = kHeader + 'E';
    appendLittleEndian(&out, quint16(rules.size()));
    for (const auto &rule : rules) {
        appendString(&out, rule.first);
        appendString(&out, rule.second);
    }
    return out;
}

QByteArray challengeReply(const QByteArray &challenge)
{
    return kHeader + 'A' + challenge;
}
