#include "query/pingtable.h"

#include <algorithm>

void PingTable::infoSent(quint32 address, quint16 port, qint64 nowNs)
{
    purge(nowNs);
    sent.insert(key(address, port), nowNs);
}

void PingTable::broadcastSent(quint16 port, qint64 nowNs)
{
    QVector<qint64> &times = broadcasts[port];
    if (times.size() >= BroadcastsKept)
        times.removeFirst();
    times.append(nowNs);
}

int PingTable::replied(quint32 address, quint16 port, qint64 nowNs)
{
    // Which of the two requests a server answered cannot be told; the later
    // one gives the time that is certainly not too long.
    qint64 direct = -1;
    const auto it = sent.constFind(key(address, port));
    if (it != sent.cend()) {
        direct = it.value();
        sent.erase(it);
    }
    qint64 broadcast = -1;
    for (qint64 t : broadcasts.value(port)) {
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
    if (nowNs - lastPurge < WindowNs)
        return;
    lastPurge = nowNs;
    const auto stale = [nowNs](qint64 at) { return nowNs - at > WindowNs; };
    for (auto it = sent.begin(); it != sent.end();)
        it = stale(it.value()) ? sent.erase(it) : std::next(it);
    for (auto it = broadcasts.begin(); it != broadcasts.end();)
        it = stale(it.value().constLast()) ? broadcasts.erase(it) : std::next(it);
}
