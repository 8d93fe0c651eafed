#pragma once

#include <QByteArray>
#include <QString>
#include <QtEndian>

// Reads a reply front to back and never past its end: a field that the
// datagram does not hold makes the reader fail instead of inventing bytes.
class ReplyReader
{
public:
    ReplyReader(const QByteArray &data, int position) : m_bytes(data), m_pos(position) { }

    bool ok() const { return m_good; }
    int position() const { return m_pos; }
    bool atEnd() const { return m_pos >= m_bytes.size(); }

    quint8 byte()
    {
        if (!need(1))
            return 0;
        return quint8(m_bytes.at(m_pos++));
    }

    qint32 int32()
    {
        if (!need(4))
            return 0;
        const qint32 v = qFromLittleEndian<qint32>(m_bytes.constData() + m_pos);
        m_pos += 4;
        return v;
    }

    quint16 uint16()
    {
        if (!need(2))
            return 0;
        const quint16 v = qFromLittleEndian<quint16>(m_bytes.constData() + m_pos);
        m_pos += 2;
        return v;
    }

    void skip(int n)
    {
        if (need(n))
            m_pos += n;
    }

    // A zero-terminated UTF-8 string.
    QString string()
    {
        if (!m_good)
            return QString();
        const int end = m_bytes.indexOf('\0', m_pos);
        if (end < 0) {
            m_good = false;
            return QString();
        }
        const QString s = QString::fromUtf8(m_bytes.constData() + m_pos, end - m_pos);
        m_pos = end + 1;
        return s;
    }

private:
    bool need(int n)
    {
        if (m_good && m_pos + n > m_bytes.size())
            m_good = false;
        return m_good;
    }

    const QByteArray &m_bytes;
    int m_pos;
    bool m_good = true;
};
