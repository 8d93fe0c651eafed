#include "query/pingtable.h"

#include <algorithm>

void PingTable::infoSent(quint32 address, quint16 port, qint64 nowNs)
{
    purge(nowNs);
    m_sent.insert(key(address, port), nowNs);
}

void PingTable::broadcastSent(quint16 port, qint64 nowNs)
{
    QVector<qint64> &times = m_broadcasts[port];
    if (times.size() >= BroadcastsKept)
        times.removeFirst();
    times.append(nowNs);
}

int PingTable::replied(quint32 address, quint16 port, qint64 nowNs)
{
    // Which of the two requests a server answered cannot be told; the later
    // one gives the time that is certainly not too long.
    qint64 direct = -1;
    const auto it = m_sent.constFind(key(address, port));
    if (it != m_sent.cend()) {
        direct = it.value();
        m_sent.erase(it);
    }
    qint64 broadcast = -1;
    for (qint64 t : m_broadcasts.value(port)) {
        if (t <= nowNs)
            broadcast = t;
    }
    const qint64 at = std::max(direct, broadcast);
    if (at < 0 || nowNs < at || nowNs - at > WindowNs)
        return -1;
    return int((nowNs - at + 500'000) / 1'000'000);
}

void PingTable::purge(qint64 nowNs)
{
    if (nowNs - m_lastPurge < WindowNs)
        return;
    m_lastPurge = nowNs;
    const auto stale = [nowNs](qint64 at) { return nowNs - at > WindowNs; };
    for (auto it = m_sent.begin(); it != m_sent.end();)
        it = stale(it.value()) ? m_sent.erase(it) : std::next(it);
    for (auto it = m_broadcasts.begin(); it != m_broadcasts.end();)
        it = stale(it.value().constLast()) ? m_broadcasts.erase(it) : std::next(it);
}
