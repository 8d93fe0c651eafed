#include "addressrange.h"

#include <algorithm>

RangeWalker::RangeWalker(quint32 from, quint32 to)
    : m_prefix(from & 0xFFFF0000u)
    , m_block(int((from >> 8) & 0xFF))
    , m_lastBlock(int((to >> 8) & 0xFF))
    , m_first(int(from & 0xFF))
    , m_lastHost(int(to & 0xFF))
    , m_host(m_first)
{
}

RangeWalker::RangeWalker(const QString &from, const QString &to)
{
    quint32 a, b;
    if (parseIpv4(from, a) && parseIpv4(to, b))
        *this = RangeWalker(a, b);
}

bool RangeWalker::next(quint32 &address)
{
    while (m_block <= m_lastBlock) {
        const int bound = m_block == m_lastBlock ? m_lastHost : 254;
        if (m_host <= bound) {
            address = m_prefix | quint32(m_block) << 8 | quint32(m_host);
            ++m_host;
            return true;
        }
        ++m_block;
        m_host = m_first;
    }
    return false;
}

int rangeAddressCount(quint32 from, quint32 to)
{
    const int c = int((from >> 8) & 0xFF), d = int(from & 0xFF);
    const int g = int((to >> 8) & 0xFF), h = int(to & 0xFF);
    if (g < c)
        return 0;
    // Every block before the last runs d..254, the last one d..h.
    return (g - c) * std::max(0, 255 - d) + std::max(0, h - d + 1);
}

int rangeAddressCount(const QString &from, const QString &to)
{
    quint32 a, b;
    if (!parseIpv4(from, a) || !parseIpv4(to, b))
        return 0;
    return rangeAddressCount(a, b);
}

QString NthField(const QString &delimiter, const QString &text, int n)
{
    if (n < 1)
        return {};
    if (delimiter.isEmpty())
        return n == 1 ? text : QString();
    qsizetype start = 0;
    for (int field = 1;; ++field) {
        const qsizetype end = text.indexOf(delimiter, start);
        if (end < 0)
            return field == n ? text.mid(start) : QString();
        if (field == n)
            return text.mid(start, end - start);
        start = end + delimiter.size();
    }
}
