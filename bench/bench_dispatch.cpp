#include "benchmarks.h"

#include "scan/autoconnectstate.h"
#include "net/udpendpoint.h"
#include "query/queryprotocol.h"
#include "scan/serverlistmodel.h"
#include "settings/settingsmodel.h"

#include <QElapsedTimer>
#include <QtEndian>

namespace {

constexpr int ServerCount = 10000;
constexpr int PortsPerHost = 4; // several game servers share one machine
constexpr double TargetRate = 200000;

struct Game
{
    const char *folder;
    const char *description;
    quint16 appId;
    quint8 protocol;
    const char *map;
    const char *keywords;
};

// A LAN's usual mix, HL1 servers answering in the newer format included.
const Game games[] = {
    {"cstrike", "Counter-Strike", 10, 48, "de_dust2", "secure,friendlyfire"},
    {"cstrike", "Counter-Strike: Source", 240, 17, "de_inferno", "alltalk,increased_maxplayers"},
    {"tf", "Team Fortress", 440, 17, "ctf_2fort", "alltalk,nocrits,payload,increased_maxplayers"},
    {"valve", "Half-Life", 70, 48, "crossfire", "deathmatch"},
    {"hl2mp", "Deathmatch", 320, 17, "dm_lockdown", "hl2mp,deathmatch"},
    {"dod", "Day of Defeat", 30, 48, "dod_anzio", "secure"},
    {"dod", "Day of Defeat: Source", 300, 17, "dod_donner", "dods,alltalk"},
    {"czero", "Condition Zero", 80, 48, "de_dust2_cz", "secure"},
    {"tfc", "Team Fortress Classic", 20, 48, "2fort", "secure"},
    {"left4dead", "L4D - Co-op - Normal", 500, 7, "l4d_hospital01_apartment", "coop,empty"},
};
constexpr int GameCount = int(sizeof games / sizeof games[0]);

void putString(QByteArray &out, const QByteArray &text)
{
    out += text;
    out += '\0';
}

template<typename T>
void putLittleEndian(QByteArray &out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, qsizetype(sizeof(T)));
}

// An 'I' reply as a game server sends it, extra-data block included.
QByteArray infoReply(int index, int gamePort)
{
    const Game &g = games[index % GameCount];
    const quint8 maxPlayers = quint8(index % 3 == 0 ? 32 : 24);
    QByteArray out = QByteArrayLiteral("\xFF\xFF\xFF\xFF\x49");
    out += char(g.protocol);
    putString(out, QByteArray("LAN party #") + QByteArray::number(index) + " | " + g.map
                       + " | fast download, admins online");
    putString(out, g.map);
    putString(out, g.folder);
    putString(out, g.description);
    putLittleEndian<quint16>(out, g.appId);
    out += char(index % (maxPlayers + 1)); // players, full now and then
    out += char(maxPlayers);
    out += char(index % 4); // bots
    out += 'd';
    out += index % 5 == 0 ? 'w' : 'l';
    out += char(index % 9 == 0); // password
    out += char(1);              // VAC
    putString(out, "1.0.0." + QByteArray::number(70 + index % 30));
    out += char(0xB1); // extra data: game port, Steam id, keywords, game id
    putLittleEndian<quint16>(out, quint16(gamePort));
    putLittleEndian<quint64>(out, 90000000000000000ULL + quint64(index));
    putString(out, g.keywords);
    putLittleEndian<quint64>(out, g.appId);
    return out;
}

std::vector<ReceivedDatagram> makeReplies()
{
    std::vector<ReceivedDatagram> replies;
    replies.reserve(ServerCount);
    for (int i = 0; i < ServerCount; ++i) {
        const int host = i / PortsPerHost;
        const int port = 27015 + i % PortsPerHost;
        const quint32 address = 0x7F000000u | quint32(host / 250) << 8 | quint32(host % 250 + 1);
        replies.push_back({infoReply(i, port), address, quint16(port), 0});
    }
    return replies;
}

qint64 timedPass(QueryProtocol &protocol, const std::vector<ReceivedDatagram> &replies)
{
    QElapsedTimer timer;
    timer.start();
    for (const ReceivedDatagram &r : replies)
        protocol.dispatch(r);
    return timer.nsecsElapsed();
}

} // namespace

std::vector<Figure> benchDispatch()
{
    const std::vector<ReceivedDatagram> replies = makeReplies();
    SettingsModel settings;
    const AutoConnectState autoConnect;
    UdpEndpoint udp(0); // never sends; the protocol just needs its endpoint

    BestTime newRows;
    BestTime refresh;
    for (int run = 0; run < BestOfRuns; ++run) {
        QueryProtocol protocol(udp, [&settings] { return settings.scanOld; });
        ServerListModel model(settings, autoConnect);
        QObject::connect(&protocol, &QueryProtocol::serverInfoReceived, &model, &ServerListModel::addOrUpdate,
                         Qt::DirectConnection);

        newRows.take(timedPass(protocol, replies));
        if (model.rowCount() != ServerCount)
            throw BenchError(QStringLiteral("%1 rows listed instead of %2").arg(model.rowCount()).arg(ServerCount)
                                 .toStdString());
        refresh.take(timedPass(protocol, replies));
        if (model.rowCount() != ServerCount)
            throw BenchError("the refresh pass added rows");
    }
    return {
        rateFigure(QStringLiteral("info replies/s, new rows"), ServerCount, newRows.nanoseconds(), TargetRate),
        rateFigure(QStringLiteral("info replies/s, refresh"), ServerCount, refresh.nanoseconds(), TargetRate),
    };
}
