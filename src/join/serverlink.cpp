#include "join/serverlink.h"

QString connectAddress(const QString &address, const QString &portText)
{
    return address + u':' + portText;
}

QString steamConnectLink(const QString &address, const QString &portText)
{
    return QStringLiteral("steam://connect/") + connectAddress(address, portText);
}
