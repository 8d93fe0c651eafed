#pragma once

#include <QByteArray>
#include <QString>

// What a client asked for, told from the bytes of its datagram.
enum class RequestKind { Info, Players, Rules, OldInfo, OldPlayers, OldRules, Unknown };

struct Request
{
    RequestKind kind = RequestKind::Unknown;
    // The 4 bytes after the type byte of an info request of 29 bytes or more, or
    // of any players or rules request of 9 bytes or more; empty otherwise.
    QByteArray challenge;
};

Request classifyRequest(const QByteArray &datagram);

// Short label for the log: T, T+challenge, U, V, infostring, players, rules, unknown.
QString requestLabel(const Request &request);
