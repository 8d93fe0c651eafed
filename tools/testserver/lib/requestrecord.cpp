#include "requestrecord.h"

QString formatRecord(const RequestRecord &record)
{
    return QStringLiteral("%1 %2:%3 <- %4:%5 %6 %7 bytes -> %8")
        .arg(record.time.toLocalTime().toString(QStringLiteral("HH:mm:ss.zzz")), record.serverAddress.toString())
        .arg(record.serverPort)
        .arg(record.clientAddress.toString())
        .arg(record.clientPort)
        .arg(record.kind)
        .arg(record.length)
        .arg(record.reply);
}
