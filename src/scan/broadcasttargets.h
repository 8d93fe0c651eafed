#pragma once

#include "net/networkcards.h"

#include <QString>
#include <QStringList>
#include <QVector>

// Where the broadcast of a scan goes: every network card that can broadcast,
// on the scan port and the ports servers on a LAN usually take.

// The ports a LAN's second, third ... server on one machine listens on.
constexpr int FirstLanPort = 27015;
constexpr int LastLanPort = 27019;

// One broadcast address, the network it reaches and the cards it leaves by.
struct BroadcastAddress
{
    quint32 address = 0; // host order
    quint32 netmask = 0; // a reply from within address/netmask answers this broadcast
    QStringList cards;

    bool operator==(const BroadcastAddress &o) const
    {
        return address == o.address && netmask == o.netmask && cards == o.cards;
    }
};

struct BroadcastTarget
{
    quint32 address = 0;
    int port = 0;

    bool operator==(const BroadcastTarget &o) const { return address == o.address && port == o.port; }
};

// For every address of a card that is up, running, able to broadcast and not
// loopback or point-to-point: the address's /16 broadcast x.y.255.255 and,
// where it differs, the card's own (its netmask's). Sorted by address, each
// once, with the names of all cards that lead there.
QVector<BroadcastAddress> cardBroadcasts(const QVector<CardAddress> &cards);

// The /16 broadcast of the host's own address, for a machine without such a
// card; none when the text is no dotted address.
QVector<BroadcastAddress> hostBroadcast(const QString &hostAddress);

// The scan port first; in a game-port scan with `lanPorts` the LAN ports too.
QVector<int> broadcastPorts(int scanPort, bool hltvScan, bool lanPorts);

// Every port to every address, port by port: the servers on one port then
// answer close to their own request.
QVector<BroadcastTarget> broadcastTargets(const QVector<BroadcastAddress> &addresses, const QVector<int> &ports);

// Whether `address` lies in the network one of the broadcasts reaches.
bool reachedByBroadcast(const QVector<BroadcastAddress> &addresses, quint32 address);

// "10.77.255.255, 10.78.5.255", or "no network card that can broadcast".
QString broadcastLine(const QVector<BroadcastAddress> &addresses);
// One line per address with the cards it leaves by, for a tooltip.
QString broadcastCardsText(const QVector<BroadcastAddress> &addresses);
