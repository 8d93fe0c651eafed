#pragma once

#include <QHash>
#include <QtGlobal>

// Remembers which servers were asked what, so that a challenge reply ('A') is
// answered with the request it stands for: the info request again with the
// challenge, or the short players and rules requests. Each request allows a
// server at most two challenge answers, so a server that challenges every
// request cannot draw Vantor into a loop, and a server nobody asked gets nothing.
class ChallengeTable
{
public:
    static constexpr qint64 WindowMs = 5000;  // how long a request waits for its challenge
    static constexpr int AnswersPerRequest = 2;

    struct Answer
    {
        bool info = false;
        bool details = false;
    };

    void infoSent(quint32 address, quint16 port, qint64 nowMs);
    void detailsSent(quint32 address, quint16 port, qint64 nowMs);
    // The broadcast asked every server on `port` at once.
    void broadcastSent(quint16 port, qint64 nowMs);

    // A challenge came from address:port; says what to send back and counts it.
    Answer challenged(quint32 address, quint16 port, qint64 nowMs);

    // Whether players and rules were asked of `address` lately. Their replies
    // replace the lists shown, so those of servers nobody asked are dropped.
    bool detailsAsked(quint32 address, qint64 nowMs) const;

    int size() const { return int(m_entries.size()); }

private:
    struct Entry
    {
        qint64 infoUntil = 0;
        qint64 detailsUntil = 0;
        int infoAnswers = 0;
        int detailsAnswers = 0;
    };

    static quint64 key(quint32 address, quint16 port) { return (quint64(address) << 16) | port; }
    void purge(qint64 nowMs);

    QHash<quint64, Entry> m_entries;
    QHash<quint16, qint64> m_broadcastUntil;
    QHash<quint32, qint64> m_detailsUntil; // per address: a reply may come from another port
    qint64 m_lastPurge = 0;
};
