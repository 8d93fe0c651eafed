#include "query/queryprotocol.h"

#include "net/tnmudp.h"
#include "query/infoparse.h"

#include <QThread>

namespace {

constexpr quint8 SplitMarker = 0xFE;

bool hasReplyHeader(const QByteArray &d)
{
    return d.size() > 4 && quint8(d[1]) == 0xFF && quint8(d[2]) == 0xFF && quint8(d[3]) == 0xFF;
}

bool isWholeReply(const QByteArray &d)
{
    return hasReplyHeader(d) && quint8(d[0]) == 0xFF;
}

} // namespace

QueryProtocol::QueryProtocol(TNMUDP &endpoint, std::function<bool()> oldProtocol, QObject *parent)
    : QObject(parent), udp(endpoint), scanOld(std::move(oldProtocol))
{
    clock.start();
    udp.OnDataReceived = [this](TNMUDP *sender, int numberBytes, const QString &fromIP, int port) {
        UDPDataReceived(sender, numberBytes, fromIP, port);
    };
    udp.OnInvalidHost = [this](bool &) { emit networkError(); };
    udp.OnStreamInvalid = [this](bool &, QIODevice *) { emit networkError(); };
    udp.OnBufferInvalid = [this](bool &, QByteArray &, int &) { emit bufferInvalid(); };
}

bool QueryProtocol::send(const QString &host, int port, const QByteArray &packet)
{
    try {
        udp.RemoteHost = host;
        udp.RemotePort = port;
        udp.SendDatagram(packet);
        return true;
    } catch (const UDPSockError &) {
        emit networkError();
        return false;
    }
}

bool QueryProtocol::sendInfoQuery(const QString &host, int port)
{
    // Taken before the send: the arrival of a quick reply is stamped before the send returns.
    const qint64 sentAt = nowNs();
    if (!send(host, port, packets.InfoQuery))
        return false;
    challenges.infoSent(udp.lastResolvedAddress(), quint16(port), nowMs());
    pings.infoSent(udp.lastResolvedAddress(), quint16(port), sentAt);
    return true;
}

bool QueryProtocol::sendOldInfoQuery(const QString &host, int port)
{
    return send(host, port, packets.OldInfoQuery);
}

bool QueryProtocol::sendInfoRequest(const QString &host, int port)
{
    if (!sendInfoQuery(host, port))
        return false;
    return !scanOld() || sendOldInfoQuery(host, port);
}

bool QueryProtocol::sendBroadcastQuery(const QString &host, int port)
{
    const qint64 sentAt = nowNs();
    try {
        udp.RemoteHost = host;
        udp.RemotePort = port;
        if (!udp.SendDatagram(packets.InfoQuery))
            return false;
    } catch (const UDPSockError &) {
        return false;
    }
    challenges.broadcastSent(quint16(port), nowMs());
    pings.broadcastSent(quint16(port), sentAt);
    if (scanOld())
        send(host, port, packets.OldInfoQuery);
    return true;
}

bool QueryProtocol::QueryPlayers(const QString &address, int port)
{
    if (!send(address, port, packets.PlayersQuery))
        return false;
    challenges.detailsSent(udp.lastResolvedAddress(), quint16(port), nowMs());
    if (!scanOld())
        return true;
    QThread::msleep(ulong(detailPauseMs));
    return send(address, port, packets.OldPlayersQuery);
}

bool QueryProtocol::QueryRules(const QString &address, int port)
{
    if (!send(address, port, packets.RulesQuery))
        return false;
    challenges.detailsSent(udp.lastResolvedAddress(), quint16(port), nowMs());
    if (!scanOld())
        return true;
    QThread::msleep(ulong(detailPauseMs));
    return send(address, port, packets.OldRulesQuery);
}

void QueryProtocol::UDPDataReceived(TNMUDP *Sender, int NumberBytes, const QString &FromIP, int Port)
{
    QByteArray datagram;
    Sender->ReadDatagram(datagram, NumberBytes);
    dispatchWhole(datagram, FromIP, Sender->currentSenderAddress(), Port, nowNs() - Sender->currentWaitNs());
}

void QueryProtocol::dispatch(const QByteArray &datagram, const QString &FromIP, int Port, qint64 waitedNs)
{
    quint32 from = 0;
    parseIpv4(FromIP, from);
    dispatchWhole(datagram, FromIP, from, Port, nowNs() - waitedNs);
}

void QueryProtocol::dispatchWhole(const QByteArray &d, const QString &FromIP, quint32 from, int Port,
                                  qint64 arrivedNs)
{
    if (!hasReplyHeader(d))
        return;
    if (quint8(d[0]) == SplitMarker) {
        // Split datagrams are always FE; their byte 4 is part of the set's id,
        // so it must not be taken for a reply type.
        const std::optional<QByteArray> whole = splits.add(from, quint16(Port), d, nowMs());
        // A reassembled reply is handled as a reply, never split again.
        if (whole && isWholeReply(*whole))
            dispatchReply(*whole, FromIP, from, Port, arrivedNs);
        return;
    }
    dispatchReply(d, FromIP, from, Port, arrivedNs);
}

void QueryProtocol::dispatchReply(const QByteArray &d, const QString &FromIP, quint32 from, int Port,
                                  qint64 arrivedNs)
{
    switch (d[4]) {
    case 'A':
        SendQuery(d, Port, FromIP);
        break;
    case 'D':
        if (challenges.detailsAsked(from, nowMs()))
            emit playersReceived(AddPlayers(d), FromIP, Port);
        break;
    case 'E':
        if (challenges.detailsAsked(from, nowMs())) {
            RulesBuffer = d;
            emit rulesReceived(AddRules(RulesBuffer), FromIP, Port);
        }
        break;
    case 'I':
        infoReceived(AddCSS(d, Port, FromIP), from, Port, arrivedNs);
        break;
    case 'i':
        infoReceived(parseOldInfo(d, Port, FromIP), from, Port, arrivedNs);
        break;
    case 'm':
        infoReceived(AddHL1(d, Port, FromIP), from, Port, arrivedNs);
        break;
    default:
        break;
    }
}

void QueryProtocol::infoReceived(std::optional<ServerInfo> info, quint32 from, int Port, qint64 arrivedNs)
{
    if (!info)
        return;
    info->ping = pings.replied(from, quint16(Port), arrivedNs);
    emit serverInfoReceived(*info);
}

void QueryProtocol::SendQuery(const QByteArray &reply, int Port, const QString &FromIP)
{
    const QByteArray challenge = challengeOf(reply);
    packets.setChallenge(challenge);
    quint32 from = 0;
    parseIpv4(FromIP, from);
    const ChallengeTable::Answer answer = challenges.challenged(from, quint16(Port), nowMs());
    if (answer.details) {
        if (!send(FromIP, Port, packets.PlayersQuery.left(RequestPackets::ChallengeAnswerSize)))
            return;
        if (!send(FromIP, Port, packets.RulesQuery.left(RequestPackets::ChallengeAnswerSize)))
            return;
    }
    // The time of a challenged server counts from the request it answers.
    const qint64 sentAt = nowNs();
    if (answer.info && send(FromIP, Port, packets.infoQueryWithChallenge(challenge)))
        pings.infoSent(from, quint16(Port), sentAt);
}
