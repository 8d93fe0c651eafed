#pragma once

#include "scan/autoconnectstate.h"
#include "listedserver.h"
#include "net/udpendpoint.h"
#include "query/queryprotocol.h"
#include "scan/broadcasttargets.h"
#include "queryoptions.h"
#include "scan/serverlistmodel.h"
#include "settings/settingsmodel.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QTimer>
#include <QVector>

#include <deque>

class QEventLoop;

// One run of the tool: the info request to every target, then the players and
// rules of each server that answered, asked of many servers at once and told
// apart by the address and port each reply comes from. Only servers that were
// asked are listed; with --lan, a server that answers the broadcast was asked. The run ends as soon as every named target has answered
// all that was asked of it; with ranges or the broadcast, or while a named target is silent,
// it ends once the timeout has passed since the last info request and every
// server's details are in or have had the timeout since their last request.
class QueryRun : public QObject
{
    Q_OBJECT

public:
    // How many servers are asked for their details at the same time.
    static constexpr int DetailsInFlight = 32;

    // Throws SocketError when no local port can be bound.
    explicit QueryRun(const QueryOptions &options, QObject *parent = nullptr);

    void run();

    // The listed servers by address, then port; complete once run() has returned.
    const QVector<ListedServer> &servers() const { return m_servers; }

private:
    // A server whose details are asked: when it was last sent a request, and
    // which of the two replies it still owes.
    struct Asking
    {
        qint64 lastSendMs = 0;
        bool players = false;
        bool rules = false;
    };

    static quint64 key(quint32 address, int port) { return (quint64(address) << 16) | quint16(port); }

    void sweep();
    void broadcast();
    bool wasAsked(quint32 address, int port) const;
    void sendInfoRequest(const QString &host, int port, bool named);
    void infoReceived(const ServerInfo &info);
    void serverListed(const ServerInfo &info);
    void askDetails();
    void playersReceived(const QVector<PlayerRow> &players, const QString &FromIP, int Port);
    void rulesReceived(const QVector<RuleRow> &rules, const QString &FromIP, int Port);
    // The Asking entry of the server a detail reply came from, or nullptr.
    Asking *askedServer(const QString &FromIP, int Port, quint64 &serverKey);
    void answered(quint64 serverKey, const Asking &asking);
    void sent(quint32 address, quint16 port);
    bool infoRoundOver() const;
    bool finished() const;
    // Gives up on servers that owe details for longer than the timeout, asks
    // the next ones, and ends the run or sets the timer for the next deadline.
    void check();
    void reportNetworkError();

    QueryOptions m_options;
    SettingsModel m_settings;
    AutoConnectState m_autoConnect;
    UdpEndpoint m_udp;
    QueryProtocol m_protocol;
    ServerListModel m_list;
    QVector<ListedServer> m_servers; // in list order until the run ends

    QSet<quint64> m_asked;       // every address:port an info request went to
    QSet<quint64> m_namedSilent; // named targets that have not answered yet
    bool m_sweptMany = false; // a range or the broadcast: the run waits the whole timeout
    int m_lookups = 0;        // host names still being looked up
    QVector<BroadcastAddress> m_broadcasts;
    QVector<int> m_broadcastPorts;
    QHash<quint64, int> m_listed; // address:port -> index in m_servers
    std::deque<int> m_waiting;    // indexes of servers whose details are still to ask
    QHash<quint64, Asking> m_asking;

    QElapsedTimer m_clock;
    QElapsedTimer m_lastPump;
    qint64 m_lastInfoSendMs = 0;
    QTimer m_timer;
    QEventLoop *m_loop = nullptr;
    QString m_target; // "host:port" being asked, for error messages
    QString m_lastError;
};
