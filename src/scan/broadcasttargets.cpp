#include "scan/broadcasttargets.h"

#include "net/ipv4.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

constexpr quint32 Slash16 = 0xFFFF0000u;

bool usable(const CardAddress &card)
{
    return card.up && card.running && card.canBroadcast && !card.loopback && !card.pointToPoint
           && card.address != 0;
}

void add(QVector<BroadcastAddress> &list, quint32 address, quint32 netmask, const QString &card)
{
    const auto found = std::find_if(list.begin(), list.end(),
                                    [address](const BroadcastAddress &b) { return b.address == address; });
    if (found == list.end()) {
        list.append(BroadcastAddress{address, netmask, {card}});
        return;
    }
    // Two cards may lead to one address with different netmasks: a reply from either network answers it.
    found->netmask &= netmask;
    if (!found->cards.contains(card))
        found->cards.append(card);
}

} // namespace

QVector<BroadcastAddress> cardBroadcasts(const QVector<CardAddress> &cards)
{
    QVector<BroadcastAddress> list;
    for (const CardAddress &card : cards) {
        if (!usable(card))
            continue;
        add(list, (card.address & Slash16) | ~Slash16, Slash16, card.card);
        const quint32 own = card.broadcast != 0 ? card.broadcast : card.address | ~card.netmask;
        if (own != card.address)
            add(list, own, card.netmask, card.card);
    }
    std::sort(list.begin(), list.end(),
              [](const BroadcastAddress &a, const BroadcastAddress &b) { return a.address < b.address; });
    return list;
}

QVector<BroadcastAddress> hostBroadcast(const QString &hostAddress)
{
    quint32 address = 0;
    if (!parseIpv4(hostAddress, address))
        return {};
    return {BroadcastAddress{(address & Slash16) | ~Slash16, Slash16, {}}};
}

QVector<int> broadcastPorts(int scanPort, bool hltvScan, bool lanPorts)
{
    QVector<int> ports{scanPort};
    if (hltvScan || !lanPorts)
        return ports;
    for (int port = FirstLanPort; port <= LastLanPort; ++port) {
        if (port != scanPort)
            ports.append(port);
    }
    return ports;
}

QVector<BroadcastTarget> broadcastTargets(const QVector<BroadcastAddress> &addresses, const QVector<int> &ports)
{
    QVector<BroadcastTarget> targets;
    for (int port : ports) {
        for (const BroadcastAddress &b : addresses)
            targets.append(BroadcastTarget{b.address, port});
    }
    return targets;
}

bool reachedByBroadcast(const QVector<BroadcastAddress> &addresses, quint32 address)
{
    return std::any_of(addresses.begin(), addresses.end(), [address](const BroadcastAddress &b) {
        return (address & b.netmask) == (b.address & b.netmask);
    });
}

QString broadcastLine(const QVector<BroadcastAddress> &addresses)
{
    if (addresses.isEmpty())
        //: The settings dialog's line of broadcast addresses when there are none.
        return QCoreApplication::translate("SettingsDialog", "no network card that can broadcast");
    QStringList texts;
    for (const BroadcastAddress &b : addresses)
        texts << ipv4Text(b.address);
    return texts.join(QStringLiteral(", "));
}

QString broadcastCardsText(const QVector<BroadcastAddress> &addresses)
{
    QStringList lines;
    for (const BroadcastAddress &b : addresses)
        lines << (b.cards.isEmpty() ? ipv4Text(b.address)
                                    : ipv4Text(b.address) + QStringLiteral(": ") + b.cards.join(QStringLiteral(", ")));
    return lines.join(u'\n');
}
