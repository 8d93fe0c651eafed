#include "query/queryprotocol.h"

#include "net/tnmudp.h"
#include "query/infoparse.h"

#include <QPointer>
#include <QTimer>

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
    : QObject(parent), udp(endpoint), scanOld(std::move(oldProtocol)), detailPause(new QTimer(this))
{
    clock.start();
    detailPause->setSingleShot(true);
    detailPause->setTimerType(Qt::PreciseTimer);
    connect(detailPause, &QTimer::timeout, this, &QueryProtocol::sendNextDetail);
    udp.OnDataReceived = [this](TNMUDP *sender, int numberBytes, const QString &fromIP, int port) {
        UDPDataReceived(sender, numberBytes, fromIP, port);
    };
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

void QueryProtocol::sendInfoRequests(const QVector<quint32> &addresses, int port)
{
    const bool old = scanOld();
    const qint64 sentAt = nowNs();
    batch.clear();
    for (const quint32 address : addresses) {
        batch.push_back({packets.InfoQuery.constData(), int(packets.InfoQuery.size()), address, quint16(port)});
        if (old)
            batch.push_back({packets.OldInfoQuery.constData(), int(packets.OldInfoQuery.size()), address, quint16(port)});
    }
    udp.SendDatagrams(batch);
    const qint64 now = nowMs();
    for (const quint32 address : addresses) {
        challenges.infoSent(address, quint16(port), now);
        pings.infoSent(address, quint16(port), sentAt);
    }
}

void QueryProtocol::resolve(const QString &host, std::function<void(const QString &address)> then)
{
    quint32 address = 0;
    if (parseIpv4(host, address)) {
        then(host);
        return;
    }
    // The endpoint may outlive this protocol.
    const QPointer<QueryProtocol> self(this);
    udp.LookupHost(host, [self, host, then = std::move(then)](quint32 found) {
        if (!self)
            return;
        if (found == 0) {
            emit self->lookupFailed(host);
            then(QString());
        } else {
            then(ipv4Text(found));
        }
    });
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
    return queueDetails(address, port, packets.PlayersQuery, packets.OldPlayersQuery);
}

bool QueryProtocol::QueryRules(const QString &address, int port)
{
    return queueDetails(address, port, packets.RulesQuery, packets.OldRulesQuery);
}

bool QueryProtocol::queueDetails(const QString &address, int port, const QByteArray &packet,
                                 const QByteArray &oldPacket)
{
    if (address != detailAddress || port != detailPort)
        details.clear();
    detailAddress = address;
    detailPort = port;
    // The packet as it is now: a challenge may change its slot before it leaves.
    details.append({packet, true});
    if (scanOld())
        details.append({oldPacket, false});
    if (detailPauseMs <= 0) {
        bool ok = true;
        while (ok && !details.isEmpty())
            ok = sendDetail(details.takeFirst());
        details.clear();
        return ok;
    }
    if (detailPause->isActive())
        return true;
    const bool ok = sendDetail(details.takeFirst());
    detailPause->start(detailPauseMs);
    return ok;
}

bool QueryProtocol::sendDetail(const DetailRequest &request)
{
    if (!send(detailAddress, detailPort, request.packet)) {
        details.clear();
        return false;
    }
    if (request.challengeable)
        challenges.detailsSent(udp.lastResolvedAddress(), quint16(detailPort), nowMs());
    return true;
}

void QueryProtocol::sendNextDetail()
{
    if (details.isEmpty())
        return;
    sendDetail(details.takeFirst());
    detailPause->start(detailPauseMs);
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
