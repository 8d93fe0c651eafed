#pragma once

#include "query/challengetable.h"
#include "query/detailparse.h"
#include "query/packets.h"
#include "query/serverinfo.h"
#include "query/splitreassembler.h"

#include <QElapsedTimer>
#include <QObject>
#include <QThread>
#include <functional>

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
    // Marks that the broadcast info request went out on `port`: a server that
    // answers it with a challenge is asked again like a server queried directly.
    void noteBroadcast(int port);

    // Players and rules of one server (the selected row).
    bool QueryPlayers(const QString &address, int port);
    bool QueryRules(const QString &address, int port);

    // Handler of the endpoint's data event.
    void UDPDataReceived(TNMUDP *Sender, int NumberBytes, const QString &FromIP, int Port);
    // The dispatch itself, for a datagram from `FromIP`:`Port`.
    void dispatch(const QByteArray &datagram, const QString &FromIP, int Port);

    // Tests run the clock forward instead of waiting.
    void setClock(std::function<qint64()> clock) { now = std::move(clock); }
    // The pause between a detail request and the next one; fuzzing skips it.
    void setPause(std::function<void(int ms)> sleep) { pause = std::move(sleep); }

signals:
    void serverInfoReceived(const ServerInfo &info);
    void playersReceived(const QVector<PlayerRow> &players);
    void rulesReceived(const QVector<RuleRow> &rules);
    void networkError();
    // A send was asked to send nothing (the endpoint's invalid-buffer event).
    void bufferInvalid();

private:
    bool send(const QString &host, int port, const QByteArray &packet);
    void SendQuery(const QByteArray &reply, int Port, const QString &FromIP);
    void dispatchWhole(const QByteArray &datagram, const QString &FromIP, quint32 from, int Port);
    void dispatchReply(const QByteArray &reply, const QString &FromIP, quint32 from, int Port);

    TNMUDP &udp;
    std::function<bool()> scanOld;
    SplitReassembler splits;
    ChallengeTable challenges;
    QElapsedTimer clock;
    std::function<qint64()> now;
    std::function<void(int ms)> pause = [](int ms) { QThread::msleep(ulong(ms)); };
};
