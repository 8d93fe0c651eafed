#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

// Dotted IPv4 text with exactly four decimal fields 0..255. Returns false (and
// leaves `address` unchanged) for anything else.
bool parseIpv4(QStringView text, quint32 &address);

// Dotted text of an address ("%d.%d.%d.%d"), fields without leading zeros.
QString ipv4Text(quint32 address);
