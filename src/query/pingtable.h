#pragma once

#include <QHash>
#include <QVector>
#include <QtGlobal>

// When each server was last sent an info request, so that its info reply can
// tell its round-trip time. A server that answers the broadcast counts from
// the broadcast, unless it was asked on its own later. One broadcast goes out
// through several cards, one send each: a reply counts from the latest of
// them that came before it, as the server heard one of those.
class PingTable
{
public:
    // A reply later than this tells no time: it answers no request we know of.
    static constexpr qint64 WindowNs = 30'000'000'000;
    // Sends kept per port: more than one broadcast's cards.
    static constexpr int BroadcastsKept = 16;

    void infoSent(quint32 address, quint16 port, qint64 nowNs);
    void broadcastSent(quint16 port, qint64 nowNs);

    // Milliseconds from the latest request that an info reply from
    // address:port answers, rounded; -1 when there is none in the window.
    // A request to the server alone is answered once: a second reply to it
    // (a server speaking two dialects) tells no time of its own.
    int replied(quint32 address, quint16 port, qint64 nowNs);

    int size() const { return int(m_sent.size()); }

private:
    static quint64 key(quint32 address, quint16 port) { return (quint64(address) << 16) | port; }
    void purge(qint64 nowNs);

    QHash<quint64, qint64> m_sent;
    QHash<quint16, QVector<qint64>> m_broadcasts; // per port, oldest first
    qint64 m_lastPurge = 0;
};
