#include "scan/localaddress.h"

#include <QHostAddress>
#include <QHostInfo>

LocalAddressProvider::~LocalAddressProvider() = default;

QString SystemLocalAddress::hostAddress()
{
    const QHostInfo info = QHostInfo::fromName(QHostInfo::localHostName());
    for (const QHostAddress &address : info.addresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol)
            return address.toString();
    }
    return {};
}
