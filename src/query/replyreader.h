#pragma once

#include <QByteArray>
#include <QString>
#include <QtEndian>

// Reads a reply front to back and never past its end: a field that the
// datagram does not hold makes the reader fail instead of inventing bytes.
class ReplyReader
{
public:
    ReplyReader(const QByteArray &data, int position) : bytes(data), pos(position) { }

    bool ok() const { return good; }
    int position() const { return pos; }
    bool atEnd() const { return pos >= bytes.size(); }

    quint8 byte()
    {
        if (!need(1))
            return 0;
        return quint8(bytes.at(pos++));
    }

    qint32 int32()
    {
        if (!need(4))
            return 0;
        const qint32 v = qFromLittleEndian<qint32>(bytes.constData() + pos);
        pos += 4;
        return v;
    }

    quint16 uint16()
    {
        if (!need(2))
            return 0;
        const quint16 v = qFromLittleEndian<quint16>(bytes.constData() + pos);
        pos += 2;
        return v;
    }

    void skip(int n)
    {
        if (need(n))
            pos += n;
    }

    // A zero-terminated UTF-8 string.
    QString string()
    {
        if (!good)
            return QString();
        const int end = bytes.indexOf('\0', pos);
        if (end < 0) {
            good = false;
            return QString();
        }
        const QString s = QString::fromUtf8(bytes.constData() + pos, end - pos);
        pos = end + 1;
        return s;
    }

private:
    bool need(int n)
    {
        if (good && pos + n > bytes.size())
            good = false;
        return good;
    }

    const QByteArray &bytes;
    int pos;
    bool good = true;
};
