#pragma once

#include "net/datagramsocket.h"

#include <QByteArray>
#include <QString>

// Bytes from a readable template: hex pairs, with "quoted text" standing for its
// ASCII bytes; blanks between items are ignored. Example: "FF FF FF FF 49 'x' 00".
QByteArray bytesOf(const char *pattern);

// A datagram as the endpoint reports it, from dotted `address`:`port`.
ReceivedDatagram datagramFrom(const QByteArray &data, const QString &address, int port);
