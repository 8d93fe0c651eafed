#include "support/testsupport.h"

#include "net/ipv4.h"

#include <QtGlobal>

QByteArray bytesOf(const char *pattern)
{
    QByteArray out;
    const QByteArray p(pattern);
    for (int i = 0; i < p.size();) {
        const char c = p[i];
        if (c == ' ' || c == '\n' || c == '\t') {
            ++i;
        } else if (c == '"' || c == '\'') {
            const int end = p.indexOf(c, i + 1);
            Q_ASSERT(end > i);
            out += p.mid(i + 1, end - i - 1);
            i = end + 1;
        } else {
            out += char(p.mid(i, 2).toInt(nullptr, 16));
            i += 2;
        }
    }
    return out;
}

ReceivedDatagram datagramFrom(const QByteArray &data, const QString &address, int port)
{
    ReceivedDatagram d;
    d.data = data;
    parseIpv4(address, d.sender);
    d.port = quint16(port);
    return d;
}
