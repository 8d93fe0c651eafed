#include "addressrange.h"

#include <algorithm>

bool parseIpv4(QStringView text, quint32 &address)
{
    quint32 result = 0;
    int fields = 0;
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (fields < 4) {
        int value = 0;
        int digits = 0;
        while (i < size && text[i] >= u'0' && text[i] <= u'9') {
            value = value * 10 + (text[i].unicode() - u'0');
            if (++digits > 3)
                return false;
            ++i;
        }
        if (digits == 0 || value > 255)
            return false;
        result = (result << 8) | quint32(value);
        ++fields;
        if (fields < 4) {
            if (i >= size || text[i] != u'.')
                return false;
            ++i;
        }
    }
    if (i != size)
        return false;
    address = result;
    return true;
}

QString ipv4Text(quint32 address)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(address >> 24)
        .arg((address >> 16) & 0xFF)
        .arg((address >> 8) & 0xFF)
        .arg(address & 0xFF);
}

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

QString broadcastAddressOf(const QString &localAddress)
{
    const QString dot = QStringLiteral(".");
    return NthField(dot, localAddress, 1) + dot + NthField(dot, localAddress, 2)
        + QStringLiteral(".255.255");
}
