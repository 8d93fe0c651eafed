#include "net/ipv4.h"

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
