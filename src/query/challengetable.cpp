#include "query/challengetable.h"

void ChallengeTable::infoSent(quint32 address, quint16 port, qint64 nowMs)
{
    purge(nowMs);
    Entry &e = m_entries[key(address, port)];
    e.infoUntil = nowMs + WindowMs;
    e.infoAnswers = AnswersPerRequest;
}

void ChallengeTable::detailsSent(quint32 address, quint16 port, qint64 nowMs)
{
    purge(nowMs);
    Entry &e = m_entries[key(address, port)];
    e.detailsUntil = nowMs + WindowMs;
    e.detailsAnswers = AnswersPerRequest;
    m_detailsUntil[address] = nowMs + WindowMs;
}

void ChallengeTable::broadcastSent(quint16 port, qint64 nowMs)
{
    m_broadcastUntil[port] = nowMs + WindowMs;
}

ChallengeTable::Answer ChallengeTable::challenged(quint32 address, quint16 port, qint64 nowMs)
{
    Answer answer;
    auto it = m_entries.find(key(address, port));
    const qint64 broadcast = m_broadcastUntil.value(port, 0);
    if (it == m_entries.end()) {
        if (broadcast <= nowMs)
            return answer;
        it = m_entries.insert(key(address, port), Entry{});
    }
    Entry &e = it.value();
    // A server that answers the broadcast is asked as if it had been queried
    // alone, once per broadcast.
    if (e.infoUntil <= nowMs && broadcast > nowMs) {
        e.infoUntil = broadcast;
        e.infoAnswers = AnswersPerRequest;
    }
    if (e.infoUntil > nowMs && e.infoAnswers > 0) {
        --e.infoAnswers;
        answer.info = true;
    }
    if (e.detailsUntil > nowMs && e.detailsAnswers > 0) {
        --e.detailsAnswers;
        answer.details = true;
    }
    return answer;
}

bool ChallengeTable::detailsAsked(quint32 address, qint64 nowMs) const
{
    return m_detailsUntil.value(address, 0) > nowMs;
}

void ChallengeTable::purge(qint64 nowMs)
{
    if (nowMs - m_lastPurge < WindowMs)
        return;
    m_lastPurge = nowMs;
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (it->infoUntil <= nowMs && it->detailsUntil <= nowMs)
            it = m_entries.erase(it);
        else
            ++it;
    }
    for (auto it = m_detailsUntil.begin(); it != m_detailsUntil.end();) {
        if (it.value() <= nowMs)
            it = m_detailsUntil.erase(it);
        else
            ++it;
    }
    for (auto it = m_broadcastUntil.begin(); it != m_broadcastUntil.end();) {
        if (it.value() <= nowMs)
            it = m_broadcastUntil.erase(it);
        else
            ++it;
    }
}
