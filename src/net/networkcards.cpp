#include "net/networkcards.h"

NetworkCards::~NetworkCards() = default;

#ifdef Q_OS_UNIX

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace {

quint32 hostOrder(const sockaddr *address)
{
    if (!address || address->sa_family != AF_INET)
        return 0;
    return ntohl(reinterpret_cast<const sockaddr_in *>(address)->sin_addr.s_addr);
}

} // namespace

// The system's own call rather than Qt's: the command-line tool does without Qt Network.
QVector<CardAddress> SystemNetworkCards::addresses()
{
    QVector<CardAddress> result;
    ifaddrs *list = nullptr;
    if (::getifaddrs(&list) != 0)
        return result;
    for (const ifaddrs *entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET)
            continue;
        CardAddress a;
        a.card = QString::fromLocal8Bit(entry->ifa_name);
        a.address = hostOrder(entry->ifa_addr);
        a.netmask = hostOrder(entry->ifa_netmask);
        const unsigned flags = entry->ifa_flags;
        a.up = (flags & IFF_UP) != 0;
        a.running = (flags & IFF_RUNNING) != 0;
        a.canBroadcast = (flags & IFF_BROADCAST) != 0;
        a.loopback = (flags & IFF_LOOPBACK) != 0;
        a.pointToPoint = (flags & IFF_POINTOPOINT) != 0;
        if (a.canBroadcast)
            a.broadcast = hostOrder(entry->ifa_broadaddr);
        result.append(a);
    }
    ::freeifaddrs(list);
    return result;
}

#else

#include <QNetworkInterface>

QVector<CardAddress> SystemNetworkCards::addresses()
{
    QVector<CardAddress> result;
    for (const QNetworkInterface &card : QNetworkInterface::allInterfaces()) {
        const auto flags = card.flags();
        for (const QNetworkAddressEntry &entry : card.addressEntries()) {
            if (entry.ip().protocol() != QAbstractSocket::IPv4Protocol)
                continue;
            CardAddress a;
            a.card = card.humanReadableName();
            a.address = entry.ip().toIPv4Address();
            a.netmask = entry.netmask().toIPv4Address();
            a.broadcast = entry.broadcast().toIPv4Address();
            a.up = flags.testFlag(QNetworkInterface::IsUp);
            a.running = flags.testFlag(QNetworkInterface::IsRunning);
            a.canBroadcast = flags.testFlag(QNetworkInterface::CanBroadcast);
            a.loopback = flags.testFlag(QNetworkInterface::IsLoopBack);
            a.pointToPoint = flags.testFlag(QNetworkInterface::IsPointToPoint);
            result.append(a);
        }
    }
    return result;
}

#endif
