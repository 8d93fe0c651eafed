#include "localaddress.h"

#include <QHostAddress>
#include <QHostInfo>
#include <utility>

LocalAddressProvider::~LocalAddressProvider() = default;

QString SystemLocalAddress::LocalAddress()
{
    const QHostInfo info = QHostInfo::fromName(QHostInfo::localHostName());
    for (const QHostAddress &address : info.addresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol)
            return address.toString();
    }
    return {};
}

FixedLocalAddress::FixedLocalAddress(QString address)
    : m_address(std::move(address))
{
}

QString FixedLocalAddress::LocalAddress()
{
    return m_address;
}
