#include "scan/broadcastsweep.h"

#include "net/ipv4.h"
#include "query/queryprotocol.h"
#include "scan/localaddress.h"

QVector<BroadcastAddress> currentBroadcasts(NetworkCards &cards, LocalAddressProvider &localAddress)
{
    const QVector<BroadcastAddress> fromCards = cardBroadcasts(cards.addresses());
    return fromCards.isEmpty() ? hostBroadcast(localAddress.hostAddress()) : fromCards;
}

int sendBroadcast(QueryProtocol &protocol, const QVector<BroadcastTarget> &targets)
{
    int taken = 0;
    for (const BroadcastTarget &target : targets) {
        if (protocol.sendBroadcastQuery(ipv4Text(target.address), target.port))
            ++taken;
    }
    return taken;
}
