#include "settings/portnumber.h"

#include <QString>

std::optional<quint16> parsePort(QStringView text)
{
    bool ok = false;
    const int port = text.toInt(&ok, 10);
    if (!ok || port < 1 || port > 65535)
        return std::nullopt;
    return quint16(port);
}
