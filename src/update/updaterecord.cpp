#include "update/updaterecord.h"

#include <QUrl>

std::optional<UpdateRecord> parseUpdateRecord(const QByteArray &reply)
{
    if (reply.size() > UpdateRecord::MaxSize || !reply.startsWith("!@"))
        return std::nullopt;
    const qsizetype blank = reply.indexOf(' ', 2);
    if (blank < 0)
        return std::nullopt;

    QByteArray address = reply.mid(blank + 1);
    const qsizetype zero = address.indexOf('\0');
    if (zero >= 0)
        address.truncate(zero);
    while (!address.isEmpty() && QByteArrayView(" \t\r\n").contains(address.back()))
        address.chop(1);

    UpdateRecord record{QString::fromUtf8(reply.mid(2, blank - 2)), QString::fromUtf8(address)};
    if (!isWebAddress(record.address))
        return std::nullopt;
    return record;
}

bool isWebAddress(const QString &address)
{
    // Read as the opening will read it: a blank inside the address is encoded.
    const QUrl url(address, QUrl::TolerantMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        && !url.host().isEmpty();
}
