#pragma once

#include <QDateTime>
#include <QHostAddress>
#include <QString>

// One request as the farm received it, with what was sent back.
struct RequestRecord
{
    QDateTime time;             // UTC: the local time zone is looked up only for the log
    QHostAddress serverAddress; // where it arrived: a server's address or the broadcast address
    quint16 serverPort = 0;
    QHostAddress clientAddress;
    quint16 clientPort = 0;
    QString kind;               // T, T+challenge, U, V, infostring, players, rules, unknown
    int length = 0;
    QString reply;              // e.g. "A", "I 140", "E 5723 in 5 parts", "silent"
};

// One log line: time, server address:port, client address:port, kind, length, reply.
QString formatRecord(const RequestRecord &record);
