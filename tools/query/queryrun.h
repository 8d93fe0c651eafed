#pragma once

#include "scan/autoconnectstate.h"
#include "listedserver.h"
#include "net/tnmudp.h"
#include "query/queryprotocol.h"
#include "queryoptions.h"
#include "scan/serverlistmodel.h"
#include "settings/settingsmodel.h"

#include <QElapsedTimer>
#include <QObject>
#include <QVector>

#include <functional>

class QEventLoop;

// One run of the tool: the sweep over every target, the wait for late replies,
// then the players and rules of each listed server, one server at a time
// because those replies do not say which server they come from.
class QueryRun : public QObject
{
    Q_OBJECT

public:
    // Throws UDPSockError when no local port can be bound.
    explicit QueryRun(const QueryOptions &options, QObject *parent = nullptr);

    void run();

    // The listed servers in list order; complete once run() has returned.
    const QVector<ListedServer> &servers() const { return m_servers; }

private:
    void sweep();
    void sendInfoRequest(const QString &host, int port);
    void askDetails(int row);
    // Runs the event loop until the timeout has passed since the last send,
    // or until `done` holds.
    void waitForReplies(const std::function<bool()> &done);
    bool detailsComplete() const { return m_gotPlayers && m_gotRules; }
    // A detail reply belongs to the server being asked only when it comes from its address.
    bool fromAskedServer() const;
    void playersReceived(const QVector<PlayerRow> &players);
    void rulesReceived(const QVector<RuleRow> &rules);
    void reportNetworkError();

    QueryOptions m_options;
    SettingsModel m_settings;
    AutoConnectState m_autoConnect;
    TNMUDP m_udp;
    QueryProtocol m_protocol;
    ServerListModel m_list;
    QVector<ListedServer> m_servers;

    QElapsedTimer m_sinceSend;
    QEventLoop *m_loop = nullptr;
    QString m_target; // "host:port" being asked, for error messages
    QString m_lastError;

    int m_asking = -1;
    quint32 m_askedAddress = 0;
    bool m_gotPlayers = true;
    bool m_gotRules = true;
};
