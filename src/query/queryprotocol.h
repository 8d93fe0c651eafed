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
class TNMUDP;

// Everything Vantor puts on the wire and takes off it: the requests, the
// challenge exchange and the dispatch of every datagram that reaches the endpoint.
class QueryProtocol : public QObject
{
    Q_OBJECT

public:
    // `scanOld` tells at each request whether the old text protocol is asked too;
    // the setting may change while the program runs.
    QueryProtocol(TNMUDP &udp, std::function<bool()> scanOld, QObject *parent = nullptr);

    RequestPackets packets;

    // The last complete rules reply (header FF FF FF FF 45 first).
    QByteArray RulesBuffer;

    // Requests. Each sets the endpoint's target right before its send; a failed
    // send emits networkError() and returns false.
    bool sendInfoQuery(const QString &host, int port);
    bool sendOldInfoQuery(const QString &host, int port);
    // InfoQuery, then OldInfoQuery when old-protocol scanning is on.
    bool sendInfoRequest(const QString &host, int port);
    // The same to each address on `port`, in order, handed to the system many at a time.
    void sendInfoRequests(const QVector<quint32> &addresses, int port);
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
    // detailPauseMs apart, kept by a timer: a request that must wait is queued
    // (returning true), and asking another server drops what waits for the
    // one asked before.
    bool QueryPlayers(const QString &address, int port);
    bool QueryRules(const QString &address, int port);
    int detailPauseMs = 10;

    // Handler of the endpoint's data event.
    void UDPDataReceived(TNMUDP *Sender, int NumberBytes, const QString &FromIP, int Port);
    // The dispatch itself, for a datagram from `FromIP`:`Port` that arrived
    // `waitedNs` ago.
    void dispatch(const QByteArray &datagram, const QString &FromIP, int Port, qint64 waitedNs = 0);

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
    // A send was asked to send nothing (the endpoint's invalid-buffer event).
    void bufferInvalid();

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
    void SendQuery(const QByteArray &reply, int Port, const QString &FromIP);
    // `arrivedNs`: when the datagram reached the endpoint, on the clock of nowNs.
    void dispatchWhole(const QByteArray &datagram, const QString &FromIP, quint32 from, int Port, qint64 arrivedNs);
    void dispatchReply(const QByteArray &reply, const QString &FromIP, quint32 from, int Port, qint64 arrivedNs);
    void infoReceived(std::optional<ServerInfo> info, quint32 from, int Port, qint64 arrivedNs);
    qint64 nowNs() const { return clock.nsecsElapsed(); }
    qint64 nowMs() const { return clock.elapsed(); }

    TNMUDP &udp;
    std::function<bool()> scanOld;
    SplitReassembler splits;
    ChallengeTable challenges;
    PingTable pings;
    QElapsedTimer clock;
    std::vector<OutgoingDatagram> batch;
    // Detail requests waiting for their pause, all for one server.
    QVector<DetailRequest> details;
    QString detailAddress;
    int detailPort = 0;
    QTimer *detailPause;
};
