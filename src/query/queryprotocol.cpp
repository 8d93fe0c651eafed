#include "query/queryprotocol.h"

#include "net/udpendpoint.h"
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

QueryProtocol::QueryProtocol(UdpEndpoint &endpoint, std::function<bool()> oldProtocol, QObject *parent)
    : QObject(parent), m_udp(endpoint), m_scanOld(std::move(oldProtocol)), m_detailPause(new QTimer(this))
{
    m_clock.start();
    m_detailPause->setSingleShot(true);
    m_detailPause->setTimerType(Qt::PreciseTimer);
    connect(m_detailPause, &QTimer::timeout, this, &QueryProtocol::sendNextDetail);
    connect(&m_udp, &UdpEndpoint::datagramReceived, this, &QueryProtocol::dispatch);
}

bool QueryProtocol::send(const QString &host, int port, const QByteArray &packet)
{
    try {
        return m_udp.sendDatagram(host, port, packet);
    } catch (const SocketError &) {
        emit networkError();
        return false;
    }
}

bool QueryProtocol::sendInfoQuery(const QString &host, int port)
{
    // Taken before the send: the arrival of a quick reply is stamped before the send returns.
    const qint64 sentAt = nowNs();
    if (!send(host, port, m_packets.infoQuery))
        return false;
    m_challenges.infoSent(m_udp.lastResolvedAddress(), quint16(port), nowMs());
    m_pings.infoSent(m_udp.lastResolvedAddress(), quint16(port), sentAt);
    return true;
}

bool QueryProtocol::sendOldInfoQuery(const QString &host, int port)
{
    return send(host, port, m_packets.oldInfoQuery);
}

bool QueryProtocol::sendInfoRequest(const QString &host, int port)
{
    if (!sendInfoQuery(host, port))
        return false;
    return !m_scanOld() || sendOldInfoQuery(host, port);
}

int QueryProtocol::sendInfoRequests(const QVector<quint32> &addresses, int port)
{
    const bool old = m_scanOld();
    const qint64 sentAt = nowNs();
    m_batch.clear();
    for (const quint32 address : addresses) {
        m_batch.push_back({m_packets.infoQuery.constData(), int(m_packets.infoQuery.size()), address, quint16(port)});
        if (old)
            m_batch.push_back({m_packets.oldInfoQuery.constData(), int(m_packets.oldInfoQuery.size()), address, quint16(port)});
    }
    m_udp.sendDatagrams(m_batch);
    const qint64 now = nowMs();
    for (const quint32 address : addresses) {
        m_challenges.infoSent(address, quint16(port), now);
        m_pings.infoSent(address, quint16(port), sentAt);
    }
    // Each address's info request leads its datagrams.
    const size_t perAddress = old ? 2 : 1;
    int sent = 0;
    for (size_t i = 0; i < m_batch.size(); i += perAddress)
        sent += m_batch[i].taken ? 1 : 0;
    return sent;
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
    m_udp.lookupHost(host, [self, host, then = std::move(then)](quint32 found) {
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
        if (!m_udp.sendDatagram(host, port, m_packets.infoQuery))
            return false;
    } catch (const SocketError &) {
        return false;
    }
    m_challenges.broadcastSent(quint16(port), nowMs());
    m_pings.broadcastSent(quint16(port), sentAt);
    if (m_scanOld())
        send(host, port, m_packets.oldInfoQuery);
    return true;
}

bool QueryProtocol::requestPlayers(const QString &address, int port)
{
    return queueDetails(address, port, m_packets.playersQuery, m_packets.oldPlayersQuery);
}

bool QueryProtocol::requestRules(const QString &address, int port)
{
    return queueDetails(address, port, m_packets.rulesQuery, m_packets.oldRulesQuery);
}

bool QueryProtocol::queueDetails(const QString &address, int port, const QByteArray &packet,
                                 const QByteArray &oldPacket)
{
    if (address != m_detailAddress || port != m_detailPort)
        m_details.clear();
    m_detailAddress = address;
    m_detailPort = port;
    // The packet as it is now: a challenge may change its slot before it leaves.
    m_details.append({packet, true});
    if (m_scanOld())
        m_details.append({oldPacket, false});
    if (m_detailPauseMs <= 0) {
        bool ok = true;
        while (ok && !m_details.isEmpty())
            ok = sendDetail(m_details.takeFirst());
        m_details.clear();
        return ok;
    }
    if (m_detailPause->isActive())
        return true;
    const bool ok = sendDetail(m_details.takeFirst());
    m_detailPause->start(m_detailPauseMs);
    return ok;
}

bool QueryProtocol::sendDetail(const DetailRequest &request)
{
    if (!send(m_detailAddress, m_detailPort, request.packet)) {
        m_details.clear();
        return false;
    }
    if (request.challengeable)
        m_challenges.detailsSent(m_udp.lastResolvedAddress(), quint16(m_detailPort), nowMs());
    return true;
}

void QueryProtocol::sendNextDetail()
{
    if (m_details.isEmpty())
        return;
    sendDetail(m_details.takeFirst());
    m_detailPause->start(m_detailPauseMs);
}

void QueryProtocol::dispatch(const ReceivedDatagram &datagram)
{
    dispatchWhole(datagram.data, ipv4Text(datagram.sender), datagram.sender, datagram.port, nowNs() - datagram.waitNs);
}

void QueryProtocol::dispatchWhole(const QByteArray &d, const QString &FromIP, quint32 from, int Port,
                                  qint64 arrivedNs)
{
    if (!hasReplyHeader(d))
        return;
    if (quint8(d[0]) == SplitMarker) {
        // Split datagrams are always FE; their byte 4 is part of the set's id,
        // so it must not be taken for a reply type.
        const std::optional<QByteArray> whole = m_splits.add(from, quint16(Port), d, nowMs());
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
        answerChallenge(d, Port, FromIP);
        break;
    case 'D':
        if (m_challenges.detailsAsked(from, nowMs()))
            emit playersReceived(parsePlayers(d), FromIP, Port);
        break;
    case 'E':
        if (m_challenges.detailsAsked(from, nowMs()))
            emit rulesReceived(parseRules(d), FromIP, Port);
        break;
    case 'I':
        infoReceived(parseSourceInfo(d, Port, FromIP), from, Port, arrivedNs);
        break;
    case 'i':
        infoReceived(parseOldInfo(d, Port, FromIP), from, Port, arrivedNs);
        break;
    case 'm':
        infoReceived(parseHalfLifeInfo(d, Port, FromIP), from, Port, arrivedNs);
        break;
    default:
        break;
    }
}

void QueryProtocol::infoReceived(std::optional<ServerInfo> info, quint32 from, int Port, qint64 arrivedNs)
{
    if (!info)
        return;
    info->ping = m_pings.replied(from, quint16(Port), arrivedNs);
    emit serverInfoReceived(*info);
}

void QueryProtocol::answerChallenge(const QByteArray &reply, int Port, const QString &FromIP)
{
    const QByteArray challenge = challengeOf(reply);
    m_packets.setChallenge(challenge);
    quint32 from = 0;
    parseIpv4(FromIP, from);
    const ChallengeTable::Answer answer = m_challenges.challenged(from, quint16(Port), nowMs());
    if (answer.details) {
        if (!send(FromIP, Port, m_packets.playersQuery.left(RequestPackets::ChallengeAnswerSize)))
            return;
        if (!send(FromIP, Port, m_packets.rulesQuery.left(RequestPackets::ChallengeAnswerSize)))
            return;
    }
    // The time of a challenged server counts from the request it answers.
    const qint64 sentAt = nowNs();
    if (answer.info && send(FromIP, Port, m_packets.infoQueryWithChallenge(challenge)))
        m_pings.infoSent(from, quint16(Port), sentAt);
}
