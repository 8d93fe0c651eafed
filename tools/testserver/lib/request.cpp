#include "request.h"

namespace {

const QByteArray kHeader("\xFF\xFF\xFF\xFF", 4);
const QByteArray kInfoPayload("Source Engine Query\0", 20);

bool hasText(const QByteArray &datagram, const char *text)
{
    const QByteArray body = datagram.mid(4);
    const QByteArray word(text);
    // The old text requests may end with a NUL, a line feed or nothing at all.
    return body.startsWith(word) && (body.size() == word.size() || body[word.size()] == '\0' || body[word.size()] == '\n');
}

} // namespace

Request classifyRequest(const QByteArray &datagram)
{
    Request request;
    if (datagram.size() < 5 || !datagram.startsWith(kHeader))
        return request;
    const char type = datagram[4];
    if (type == 'T' && datagram.mid(5, kInfoPayload.size()) == kInfoPayload) {
        request.kind = RequestKind::Info;
        if (datagram.size() >= 5 + kInfoPayload.size() + 4)
            request.challenge = datagram.mid(5 + kInfoPayload.size(), 4);
    } else if (type == 'U' || type == 'V') {
        request.kind = type == 'U' ? RequestKind::Players : RequestKind::Rules;
        if (datagram.size() >= 9)
            request.challenge = datagram.mid(5, 4);
    } else if (hasText(datagram, "infostring")) {
        request.kind = RequestKind::OldInfo;
    } else if (hasText(datagram, "players")) {
        request.kind = RequestKind::OldPlayers;
    } else if (hasText(datagram, "rules")) {
        request.kind = RequestKind::OldRules;
    }
    return request;
}

QString requestLabel(const Request &request)
{
    switch (request.kind) {
    case RequestKind::Info:
        return request.challenge.isEmpty() ? QStringLiteral("T") : QStringLiteral("T+challenge");
    case RequestKind::Players:
        return QStringLiteral("U");
    case RequestKind::Rules:
        return QStringLiteral("V");
    case RequestKind::OldInfo:
        return QStringLiteral("infostring");
    case RequestKind::OldPlayers:
        return QStringLiteral("players");
    case RequestKind::OldRules:
        return QStringLiteral("rules");
    case RequestKind::Unknown:
        break;
    }
    return QStringLiteral("unknown");
}
