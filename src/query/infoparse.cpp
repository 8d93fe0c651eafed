#include "query/infoparse.h"

#include "query/replyreader.h"

namespace {

constexpr int HeaderSize = 5; // FF FF FF FF and the type byte

// The answer to "infostring" reads "infostringresponse" 00; its letters at
// bytes 14 and 21 tell it from other 'i' datagrams, and the string starts at 23.
constexpr int OldInfoStart = 23;

// Old replies carry numbers as text; a plain signed decimal, nothing else.
bool decimal(const QString &text, int &value)
{
    if (text.isEmpty())
        return false;
    int i = 0;
    bool negative = false;
    if (text[0] == QLatin1Char('-') || text[0] == QLatin1Char('+')) {
        negative = text[0] == QLatin1Char('-');
        i = 1;
    }
    if (i == text.size())
        return false;
    qint64 v = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        v = v * 10 + (c.unicode() - '0');
        if (v > 0x80000000LL)
            return false;
    }
    if (negative)
        v = -v;
    if (v > 0x7FFFFFFFLL)
        return false;
    value = int(v);
    return true;
}

// The record holds one byte per number, as the binary replies send them; a
// larger text value shows as the most a byte holds rather than wrapping.
quint8 clampedByte(int value)
{
    return quint8(qBound(0, value, 255));
}

QString asciiUpper(const QString &s)
{
    QString u = s;
    for (QChar &c : u) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 32);
    }
    return u;
}

// The fields that newer 'm' replies append after the password flag: a mod
// flag (1: a mod block follows), the VAC flag and the bot count. Older
// replies end earlier; their bot count is unknown (-1).
int hl1Bots(const QByteArray &reply, int position)
{
    ReplyReader r(reply, position);
    if (r.byte() == 1) {
        r.string(); // mod home page
        r.string(); // mod download address
        r.byte();   // always 0
        r.int32();  // mod version
        r.int32();  // mod size
        r.byte();   // multiplayer only
        r.byte();   // own client library
    }
    r.byte(); // VAC
    const quint8 bots = r.byte();
    return r.ok() ? bots : -1;
}

} // namespace

std::optional<ServerInfo> parseHalfLifeInfo(const QByteArray &reply, int Port, const QString &FromIP)
{
    ReplyReader r(reply, HeaderSize);
    ServerInfo info;
    r.string(); // the server's own idea of its address
    info.hostName = r.string();
    info.map = r.string();
    info.gameDir = r.string();
    info.description = r.string();
    info.players = r.byte();
    info.maxPlayers = r.byte();
    info.protocol = r.byte();
    r.byte(); // server type
    info.os = char(r.byte());
    info.password = r.byte();
    if (!r.ok())
        return std::nullopt;
    info.bots = hl1Bots(reply, r.position());
    info.address = FromIP;
    info.port = Port;
    return info;
}

std::optional<ServerInfo> parseSourceInfo(const QByteArray &reply, int Port, const QString &FromIP)
{
    ReplyReader r(reply, HeaderSize);
    ServerInfo info;
    info.protocol = r.byte();
    info.hostName = r.string();
    info.map = r.string();
    info.gameDir = r.string();
    info.description = r.string();
    r.uint16(); // application number
    info.players = r.byte();
    info.maxPlayers = r.byte();
    info.bots = r.byte();
    r.byte(); // server type
    info.os = char(r.byte());
    info.password = r.byte();
    if (!r.ok())
        return std::nullopt;
    info.address = FromIP;
    info.port = Port;
    return info;
}

namespace {

bool isOldInfoReply(const QByteArray &reply)
{
    return reply.size() > 21 && reply.at(14) == 'r' && reply.at(21) == 'e';
}

} // namespace

QString infoStringValue(const QString &text, const QString &key, const QString &delimiter)
{
    const int zero = text.indexOf(QChar(0));
    const QString source = zero < 0 ? text : text.left(zero);
    const QString hay = asciiUpper(source);
    const QString k = asciiUpper(key);
    const QString d = asciiUpper(delimiter);
    QString value;
    if (k.isEmpty() || d.isEmpty())
        return value;
    int from = 0;
    for (;;) {
        const int at = hay.indexOf(k, from);
        if (at < 0)
            break;
        const int valueStart = at + int(k.size());
        const int end = hay.indexOf(d, valueStart);
        if (end < 0)
            break;
        value = source.mid(valueStart, end - valueStart);
        // The closing delimiter may open the next key, so search again from it.
        from = end;
    }
    return value;
}

namespace {

// Builds the record from the texts of an old reply; nothing when protocol,
// players, max or password is no decimal integer.
std::optional<ServerInfo> oldInfoRecord(const QString &gameDir, const QString &description, const QString &protocol,
                                        const QString &hostName, const QString &FromIP, int port, const QString &map,
                                        const QString &players, const QString &max, const QString &os,
                                        const QString &password, const QString &proxy)
{
    int protocolValue = 0, playersValue = 0, maxValue = 0, passwordValue = 0;
    if (!decimal(protocol, protocolValue) || !decimal(players, playersValue) || !decimal(max, maxValue)
        || !decimal(password, passwordValue))
        return std::nullopt;
    ServerInfo info;
    info.gameDir = gameDir;
    info.description = description;
    info.hostName = hostName;
    info.address = FromIP;
    info.port = port;
    info.protocol = clampedByte(protocolValue);
    info.map = map;
    info.players = clampedByte(playersValue);
    info.maxPlayers = clampedByte(maxValue);
    info.os = (os == QLatin1String("w") || os == QLatin1String("W")) ? 'w' : 'l';
    info.password = clampedByte(passwordValue);
    info.proxy = proxy;
    return info;
}

} // namespace

std::optional<ServerInfo> parseOldInfo(const QByteArray &reply, int Port, const QString &FromIP)
{
    if (!isOldInfoReply(reply))
        return std::nullopt;
    const QString text = QString::fromUtf8(reply.mid(OldInfoStart));
    const QString d = QStringLiteral("\\");
    const auto value = [&](const char *key) { return infoStringValue(text, QLatin1String(key), d); };
    const QString protocol = value("\\protocol\\");
    const QString hostName = value("\\hostname\\");
    const QString map = value("\\map\\");
    const QString players = value("\\players\\");
    const QString max = value("\\max\\");
    const QString os = value("\\os\\");
    const QString password = value("\\password\\");
    const QString proxy = value("\\proxy\\");
    const QString description = value("\\description\\");
    const QString gameDir = value("\\gamedir\\");
    return oldInfoRecord(gameDir, description, protocol, hostName, FromIP, Port, map, players, max, os, password, proxy);
}
