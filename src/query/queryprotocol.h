#pragma once

#include "net/datagramsocket.h"
#include "query/challengetable.h"
#include "query/detailparse.h"
#include "query/packets.h"
#include "query/pingtable.h"
#include "query/serverinfo.h"
#include "query/splitreassembler.h"

#include <QElapsedTimer>
#include <QObject>
#include <QVector>
#include <functional>
#include <optional>
#include <vector>

class QTimer;
class UdpEndpoint;

// Everything Vantor puts on the wire and takes off it: the requests, the
// challenge exchange and the dispatch of every datagram that reaches the endpoint.
class QueryProtocol : public QObject
{
    Q_OBJECT

public:
    // `scanOld` tells at each request whether the old text protocol is asked too;
    // the setting may change while the program runs.
    QueryProtocol(UdpEndpoint &udp, std::function<bool()> scanOld, QObject *parent = nullptr);

    const RequestPackets &packets() const { return m_packets; }

    // Requests. Each returns whether its datagram went out: a send that fails
    // emits networkError() and returns false, one the system refuses (no
    // route to the address, say) just returns false.
    bool sendInfoQuery(const QString &host, int port);
    bool sendOldInfoQuery(const QString &host, int port);
    // infoQuery, then oldInfoQuery when old-protocol scanning is on.
    bool sendInfoRequest(const QString &host, int port);
    // The same to each address on `port`, in order, handed to the system many
    // at a time; returns to how many addresses the info request went out.
    int sendInfoRequests(const QVector<quint32> &addresses, int port);
    // The dotted address of a host: at once for dotted text, after a lookup in
    // the background for a name. A name without an address emits
    // lookupFailed() and gives an empty text. `then` never runs once the
    // endpoint is gone.
    void resolve(const QString &host, std::function<void(const QString &address)> then);
    // The info request (and the old one when asked for) to a broadcast
    // address: a server that answers it with a challenge is asked again like a
    // server queried directly, and its ping counts from this request. A
    // destination the system refuses (no route to it) is no error here: the
    // call returns false and emits nothing.
    bool sendBroadcastQuery(const QString &host, int port);

    // Players and rules of one server (the selected row). With old-protocol
    // scanning on, the text request follows. Consecutive detail requests are
    // the detail pause apart (10 ms unless set), kept by a timer: a request
    // that must wait is queued (returning true), and asking another server
    // drops what waits for the one asked before.
    bool requestPlayers(const QString &address, int port);
    bool requestRules(const QString &address, int port);
    void setDetailPauseMs(int ms) { m_detailPauseMs = ms; }

    // Handles a datagram that reached the endpoint.
    void dispatch(const ReceivedDatagram &datagram);

signals:
    // The record carries the server's ping when the reply answers a request of ours.
    void serverInfoReceived(const ServerInfo &info);
    // Each detail reply names its sender, so that replies of several servers
    // asked at once can be told apart.
    void playersReceived(const QVector<PlayerRow> &players, const QString &FromIP, int Port);
    void rulesReceived(const QVector<RuleRow> &rules, const QString &FromIP, int Port);
    void networkError();
    // A host name has no IPv4 address.
    void lookupFailed(const QString &host);

private:
    struct DetailRequest
    {
        QByteArray packet;
        bool challengeable = false; // the new-protocol request, which a challenge may answer
    };

    bool send(const QString &host, int port, const QByteArray &packet);
    bool queueDetails(const QString &address, int port, const QByteArray &packet, const QByteArray &oldPacket);
    bool sendDetail(const DetailRequest &request);
    void sendNextDetail();
    void answerChallenge(const QByteArray &reply, int Port, const QString &FromIP);
    // `arrivedNs`: when the datagram reached the endpoint, on the clock of nowNs.
    void dispatchWhole(const QByteArray &datagram, const QString &FromIP, quint32 from, int Port, qint64 arrivedNs);
    void dispatchReply(const QByteArray &reply, const QString &FromIP, quint32 from, int Port, qint64 arrivedNs);
    void infoReceived(std::optional<ServerInfo> info, quint32 from, int Port, qint64 arrivedNs);
    qint64 nowNs() const { return m_clock.nsecsElapsed(); }
    qint64 nowMs() const { return m_clock.elapsed(); }

    UdpEndpoint &m_udp;
    std::function<bool()> m_scanOld;
    RequestPackets m_packets;
    int m_detailPauseMs = 10;
    SplitReassembler m_splits;
    ChallengeTable m_challenges;
    PingTable m_pings;
    QElapsedTimer m_clock;
    std::vector<OutgoingDatagram> m_batch;
    // Detail requests waiting for their pause, all for one server.
    QVector<DetailRequest> m_details;
    QString m_detailAddress;
    int m_detailPort = 0;
    QTimer *m_detailPause;
};
