#pragma once

#include "scan/broadcasttargets.h"

class LocalAddressProvider;
class NetworkCards;
class QueryProtocol;

// The broadcast addresses a scan uses now: those of the network cards, or,
// on a machine without a card that can broadcast, the /16 of the host's own
// address; none when even that is unknown.
QVector<BroadcastAddress> currentBroadcasts(NetworkCards &cards, LocalAddressProvider &localAddress);

// Sends the info request to every target. A destination the system refuses
// is skipped; returns how many took it.
int sendBroadcast(QueryProtocol &protocol, const QVector<BroadcastTarget> &targets);
