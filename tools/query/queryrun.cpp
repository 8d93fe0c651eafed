#include "queryrun.h"

#include "net/ipv4.h"
#include "net/networkcards.h"
#include "scan/addressrange.h"
#include "scan/broadcastsweep.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTextStream>

#include <algorithm>
#include <limits>

QueryRun::QueryRun(const QueryOptions &options, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_udp(0, nullptr, newPlainDatagramSocket)
    , m_protocol(m_udp, [this] { return m_settings.scanOld; })
    , m_list(m_settings, m_autoConnect)
{
    m_settings.scanOld = options.old;
    // Many servers are asked one after another; none needs a pause before its text request.
    m_protocol.setDetailPauseMs(0);
    m_clock.start();
    connect(&m_udp, &UdpEndpoint::datagramSent, this, &QueryRun::sent);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &QueryRun::check);

    connect(&m_protocol, &QueryProtocol::serverInfoReceived, this, &QueryRun::infoReceived);
    connect(&m_list, &ServerListModel::serverAdded, this, [this](int, const ServerInfo &info) { serverListed(info); });
    connect(&m_protocol, &QueryProtocol::playersReceived, this, &QueryRun::playersReceived);
    connect(&m_protocol, &QueryProtocol::rulesReceived, this, &QueryRun::rulesReceived);
    connect(&m_protocol, &QueryProtocol::networkError, this, &QueryRun::reportNetworkError);
    connect(&m_protocol, &QueryProtocol::lookupFailed, this, [](const QString &host) {
        QTextStream(stderr) << "vantor-query: cannot resolve " << host << Qt::endl;
    });
}

void QueryRun::run()
{
    sweep();
    QEventLoop loop;
    m_loop = &loop;
    check();
    if (!finished())
        loop.exec();
    m_loop = nullptr;
    m_timer.stop();

    for (int i = 0; i < m_servers.size(); ++i)
        m_servers[i].row = m_list.row(i);
    std::sort(m_servers.begin(), m_servers.end(), [](const ListedServer &a, const ListedServer &b) {
        quint32 x = 0, y = 0;
        parseIpv4(a.row.address, x);
        parseIpv4(b.row.address, y);
        return x != y ? x < y : a.row.port < b.row.port;
    });
}

void QueryRun::sweep()
{
    if (m_options.lan)
        broadcast();
    for (const QueryTarget &target : std::as_const(m_options.targets)) {
        if (!target.isRange()) {
            // A name is asked once its lookup ends.
            ++m_lookups;
            m_protocol.resolve(target.host, [this, port = target.port](const QString &address) {
                --m_lookups;
                if (!address.isEmpty())
                    sendInfoRequest(address, port, true);
                check();
            });
            continue;
        }
        m_sweptMany = true;
        forEachRangeAddress(RangeWalker(target.host, target.rangeTo), [&](quint32 address) {
            sendInfoRequest(ipv4Text(address), target.port, false);
            // Replies are read between sends, at most once a millisecond: often
            // enough for their pings, rarely enough not to cost more than the sends.
            if (!m_lastPump.isValid() || m_lastPump.nsecsElapsed() >= 1'000'000) {
                QCoreApplication::processEvents();
                m_lastPump.start();
            }
        });
    }
}

void QueryRun::broadcast()
{
    SystemNetworkCards cards;
    m_broadcasts = cardBroadcasts(cards.addresses());
    if (m_broadcasts.isEmpty()) {
        QTextStream(stderr) << "vantor-query: no network card that can broadcast" << Qt::endl;
        return;
    }
    m_sweptMany = true;
    m_broadcastPorts = broadcastPorts(m_options.port, false, true);
    if (sendBroadcast(m_protocol, broadcastTargets(m_broadcasts, m_broadcastPorts)) == 0)
        QTextStream(stderr) << "vantor-query: the broadcast could not be sent" << Qt::endl;
}

bool QueryRun::wasAsked(quint32 address, int port) const
{
    return m_asked.contains(key(address, port))
           || (m_broadcastPorts.contains(port) && reachedByBroadcast(m_broadcasts, address));
}

void QueryRun::sendInfoRequest(const QString &host, int port, bool named)
{
    m_target = QStringLiteral("%1:%2").arg(host).arg(port);
    if (m_protocol.sendInfoRequest(host, port)) {
        const quint64 server = key(m_udp.lastResolvedAddress(), port);
        m_asked.insert(server);
        if (named && !m_listed.contains(server))
            m_namedSilent.insert(server);
    }
}

void QueryRun::sent(quint32 address, quint16 port)
{
    // Challenge answers are requests too: the server that challenged gets the full wait.
    const auto asking = m_asking.find(key(address, port));
    if (asking != m_asking.end())
        asking->lastSendMs = m_clock.elapsed();
    else
        m_lastInfoSendMs = m_clock.elapsed();
}

void QueryRun::infoReceived(const ServerInfo &info)
{
    quint32 address = 0;
    if (!parseIpv4(info.address, address) || !wasAsked(address, info.port))
        return;
    m_list.addOrUpdate(info);
    m_namedSilent.remove(key(address, info.port));
    check();
}

void QueryRun::serverListed(const ServerInfo &info)
{
    quint32 address = 0;
    parseIpv4(info.address, address);
    m_listed.insert(key(address, info.port), int(m_servers.size()));
    if (m_options.players || m_options.rules)
        m_waiting.push_back(int(m_servers.size()));
    m_servers.append(ListedServer{{}, info, {}, {}});
}

void QueryRun::askDetails()
{
    while (!m_waiting.empty() && m_asking.size() < DetailsInFlight) {
        const ServerInfo &info = m_servers[m_waiting.front()].info;
        m_waiting.pop_front();
        quint32 address = 0;
        parseIpv4(info.address, address);
        const quint64 server = key(address, info.port);
        // Entered before the sends, so that they count as this server's requests.
        m_asking.insert(server, Asking{m_clock.elapsed(), m_options.players, m_options.rules});
        m_target = QStringLiteral("%1:%2").arg(info.address).arg(info.port);
        if (m_options.players && !m_protocol.requestPlayers(info.address, info.port))
            m_asking.remove(server);
        else if (m_options.rules && !m_protocol.requestRules(info.address, info.port))
            m_asking.remove(server);
    }
}

QueryRun::Asking *QueryRun::askedServer(const QString &FromIP, int Port, quint64 &serverKey)
{
    quint32 address = 0;
    if (!parseIpv4(FromIP, address))
        return nullptr;
    serverKey = key(address, Port);
    const auto it = m_asking.find(serverKey);
    return it == m_asking.end() ? nullptr : &it.value();
}

void QueryRun::playersReceived(const QVector<PlayerRow> &players, const QString &FromIP, int Port)
{
    quint64 server = 0;
    Asking *asking = askedServer(FromIP, Port, server);
    if (!asking || !asking->players)
        return;
    m_servers[m_listed.value(server)].players = players;
    asking->players = false;
    answered(server, *asking);
}

void QueryRun::rulesReceived(const QVector<RuleRow> &rules, const QString &FromIP, int Port)
{
    quint64 server = 0;
    Asking *asking = askedServer(FromIP, Port, server);
    if (!asking || !asking->rules)
        return;
    m_servers[m_listed.value(server)].rules = rules;
    asking->rules = false;
    answered(server, *asking);
}

void QueryRun::answered(quint64 serverKey, const Asking &asking)
{
    if (asking.players || asking.rules)
        return;
    m_asking.remove(serverKey);
    check();
}

bool QueryRun::infoRoundOver() const
{
    if (!m_sweptMany && m_namedSilent.isEmpty())
        return true;
    return m_clock.elapsed() - m_lastInfoSendMs >= m_options.timeoutMs;
}

bool QueryRun::finished() const
{
    return m_lookups == 0 && infoRoundOver() && m_waiting.empty() && m_asking.isEmpty();
}

void QueryRun::check()
{
    const qint64 now = m_clock.elapsed();
    for (auto it = m_asking.begin(); it != m_asking.end();) {
        if (now - it->lastSendMs >= m_options.timeoutMs)
            it = m_asking.erase(it);
        else
            ++it;
    }
    askDetails();
    if (finished()) {
        m_timer.stop();
        if (m_loop)
            m_loop->quit();
        return;
    }
    qint64 next = infoRoundOver() ? std::numeric_limits<qint64>::max() : m_lastInfoSendMs + m_options.timeoutMs;
    for (const Asking &asking : std::as_const(m_asking))
        next = std::min(next, asking.lastSendMs + m_options.timeoutMs);
    m_timer.start(int(std::clamp<qint64>(next - now, 0, m_options.timeoutMs)));
}

void QueryRun::reportNetworkError()
{
    // The endpoint's own target may have moved since (a challenge answered),
    // so the target of this run's loop is named, once.
    if (m_target == m_lastError)
        return;
    m_lastError = m_target;
    QTextStream(stderr) << "vantor-query: sending to " << m_target << " failed" << Qt::endl;
}
