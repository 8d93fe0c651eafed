#include "query/queryprotocol.h"

#include "net/tnmudp.h"
#include "query/infoparse.h"

namespace {

constexpr quint8 SplitMarker = 0xFE;

constexpr int DetailPauseMs = 10;

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
    now = [this] { return clock.elapsed(); };
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
    if (!send(host, port, packets.InfoQuery))
        return false;
    challenges.infoSent(udp.lastResolvedAddress(), quint16(port), now());
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

void QueryProtocol::noteBroadcast(int port)
{
    challenges.broadcastSent(quint16(port), now());
}

bool QueryProtocol::QueryPlayers(const QString &address, int port)
{
    if (!send(address, port, packets.PlayersQuery))
        return false;
    challenges.detailsSent(udp.lastResolvedAddress(), quint16(port), now());
    if (!scanOld())
        return true;
    // Only a second request is spaced from the first.
    pause(DetailPauseMs);
    return send(address, port, packets.OldPlayersQuery);
}

bool QueryProtocol::QueryRules(const QString &address, int port)
{
    if (!send(address, port, packets.RulesQuery))
        return false;
    challenges.detailsSent(udp.lastResolvedAddress(), quint16(port), now());
    if (!scanOld())
        return true;
    // Only a second request is spaced from the first.
    pause(DetailPauseMs);
    return send(address, port, packets.OldRulesQuery);
}

void QueryProtocol::UDPDataReceived(TNMUDP *Sender, int NumberBytes, const QString &FromIP, int Port)
{
    QByteArray datagram;
    Sender->ReadDatagram(datagram, NumberBytes);
    dispatchWhole(datagram, FromIP, Sender->currentSenderAddress(), Port);
}

void QueryProtocol::dispatch(const QByteArray &datagram, const QString &FromIP, int Port)
{
    quint32 from = 0;
    parseIpv4(FromIP, from);
    dispatchWhole(datagram, FromIP, from, Port);
}

void QueryProtocol::dispatchWhole(const QByteArray &d, const QString &FromIP, quint32 from, int Port)
{
    if (!hasReplyHeader(d))
        return;
    if (quint8(d[0]) == SplitMarker) {
        // Split datagrams are always FE; their byte 4 is part of the set's id,
        // so it must not be taken for a reply type.
        const std::optional<QByteArray> whole = splits.add(from, quint16(Port), d, now());
        // A reassembled reply is handled as a reply, never split again.
        if (whole && isWholeReply(*whole))
            dispatchReply(*whole, FromIP, from, Port);
        return;
    }
    dispatchReply(d, FromIP, from, Port);
}

void QueryProtocol::dispatchReply(const QByteArray &d, const QString &FromIP, quint32 from, int Port)
{
    switch (d[4]) {
    case 'A':
        SendQuery(d, Port, FromIP);
        break;
    case 'D':
        if (challenges.detailsAsked(from, now()))
            emit playersReceived(AddPlayers(d));
        break;
    case 'E':
        if (challenges.detailsAsked(from, now())) {
            RulesBuffer = d;
            emit rulesReceived(AddRules(RulesBuffer));
        }
        break;
    case 'I':
        if (const auto info = AddCSS(d, Port, FromIP))
            emit serverInfoReceived(*info);
        break;
    case 'i':
        if (const auto info = parseOldInfo(d, Port, FromIP))
            emit serverInfoReceived(*info);
        break;
    case 'm':
        if (const auto info = AddHL1(d, Port, FromIP))
            emit serverInfoReceived(*info);
        break;
    default:
        break;
    }
}

void QueryProtocol::SendQuery(const QByteArray &reply, int Port, const QString &FromIP)
{
    const QByteArray challenge = challengeOf(reply);
    packets.setChallenge(challenge);
    quint32 from = 0;
    parseIpv4(FromIP, from);
    const ChallengeTable::Answer answer = challenges.challenged(from, quint16(Port), now());
    if (answer.details) {
        if (!send(FromIP, Port, packets.PlayersQuery.left(RequestPackets::ChallengeAnswerSize)))
            return;
        if (!send(FromIP, Port, packets.RulesQuery.left(RequestPackets::ChallengeAnswerSize)))
            return;
    }
    if (answer.info)
        send(FromIP, Port, packets.infoQueryWithChallenge(challenge));
}
