#include "queryrun.h"

#include "scan/addressrange.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTextStream>
#include <QTimer>

QueryRun::QueryRun(const QueryOptions &options, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_udp(0)
    , m_protocol(m_udp, [this] { return m_settings.scanOld; })
    , m_list(m_settings, m_autoConnect)
{
    m_settings.scanOld = options.old;
    m_sinceSend.start();
    // Challenge answers are sends too: a server that challenged gets the full wait.
    m_udp.OnDataSend = [this](TNMUDP *) { m_sinceSend.restart(); };

    connect(&m_protocol, &QueryProtocol::serverInfoReceived, &m_list, &ServerListModel::AddServer);
    connect(&m_list, &ServerListModel::serverAdded, this, [this](int, const ServerInfo &info) {
        m_servers.append(ListedServer{{}, info, {}, {}});
    });
    connect(&m_protocol, &QueryProtocol::playersReceived, this, &QueryRun::playersReceived);
    connect(&m_protocol, &QueryProtocol::rulesReceived, this, &QueryRun::rulesReceived);
    connect(&m_protocol, &QueryProtocol::networkError, this, &QueryRun::reportNetworkError);
}

void QueryRun::run()
{
    sweep();
    waitForReplies([] { return false; });
    if (m_options.players || m_options.rules) {
        // Late info replies may still add rows while details are asked.
        for (int row = 0; row < m_list.rowCount(); ++row)
            askDetails(row);
    }
    for (int row = 0; row < m_servers.size(); ++row)
        m_servers[row].row = m_list.row(row);
}

void QueryRun::sweep()
{
    for (const QueryTarget &target : std::as_const(m_options.targets)) {
        if (!target.isRange()) {
            sendInfoRequest(target.host, target.port);
            continue;
        }
        forEachRangeAddress(RangeWalker(target.host, target.rangeTo),
                            [&](quint32 address) { sendInfoRequest(ipv4Text(address), target.port); });
    }
}

void QueryRun::sendInfoRequest(const QString &host, int port)
{
    m_target = QStringLiteral("%1:%2").arg(host).arg(port);
    m_protocol.sendInfoRequest(host, port);
    QCoreApplication::processEvents();
}

void QueryRun::askDetails(int row)
{
    const ServerRow &server = m_list.row(row);
    m_asking = row;
    parseIpv4(server.address, m_askedAddress);
    m_gotPlayers = !m_options.players;
    m_gotRules = !m_options.rules;
    m_target = QStringLiteral("%1:%2").arg(server.address).arg(server.port);
    if (m_options.players)
        m_protocol.QueryPlayers(server.address, server.port);
    if (m_options.rules)
        m_protocol.QueryRules(server.address, server.port);
    waitForReplies([this] { return detailsComplete(); });
    m_asking = -1;
}

void QueryRun::waitForReplies(const std::function<bool()> &done)
{
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    auto check = [&] {
        const qint64 left = m_options.timeoutMs - m_sinceSend.elapsed();
        if (done() || left <= 0)
            loop.quit();
        else
            timer.start(int(left));
    };
    connect(&timer, &QTimer::timeout, &loop, check);
    if (done() || m_sinceSend.elapsed() >= m_options.timeoutMs)
        return;
    check();
    m_loop = &loop;
    loop.exec();
    m_loop = nullptr;
}

bool QueryRun::fromAskedServer() const
{
    return m_asking >= 0 && m_udp.currentSenderAddress() == m_askedAddress;
}

void QueryRun::playersReceived(const QVector<PlayerRow> &players)
{
    if (m_gotPlayers || !fromAskedServer())
        return;
    m_servers[m_asking].players = players;
    m_gotPlayers = true;
    if (detailsComplete() && m_loop)
        m_loop->quit();
}

void QueryRun::rulesReceived(const QVector<RuleRow> &rules)
{
    if (m_gotRules || !fromAskedServer())
        return;
    m_servers[m_asking].rules = rules;
    m_gotRules = true;
    if (detailsComplete() && m_loop)
        m_loop->quit();
}

void QueryRun::reportNetworkError()
{
    // An unknown host name is reported twice by the endpoint (lookup, then send).
    // The endpoint's own target may have moved meanwhile (a challenge answered
    // during the lookup), so the target of this run's loop is named.
    if (m_target == m_lastError)
        return;
    m_lastError = m_target;
    QTextStream(stderr) << "vantor-query: sending to " << m_target << " failed" << Qt::endl;
}
