#include "query/packets.h"

namespace {

QByteArray packet(const char *body)
{
    QByteArray p(4, char(0xFF));
    p += body;
    p += char(0);
    return p;
}

} // namespace

RequestPackets::RequestPackets()
    : infoQuery(packet("TSource Engine Query"))
    , oldInfoQuery(packet("infostring"))
    , playersQuery(packet("USource Engine Query"))
    , oldPlayersQuery(packet("players"))
    , rulesQuery(packet("VSource Engine Query"))
    , oldRulesQuery(packet("rules"))
{
}

void RequestPackets::setChallenge(const QByteArray &challenge)
{
    for (int i = 0; i < ChallengeSize; ++i) {
        playersQuery[ChallengeOffset + i] = challenge.at(i);
        rulesQuery[ChallengeOffset + i] = challenge.at(i);
    }
}

QByteArray RequestPackets::infoQueryWithChallenge(const QByteArray &challenge) const
{
    return infoQuery + challenge.left(ChallengeSize);
}

QByteArray challengeOf(const QByteArray &reply)
{
    QByteArray c = reply.mid(RequestPackets::ChallengeOffset, RequestPackets::ChallengeSize);
    c.append(RequestPackets::ChallengeSize - c.size(), char(0));
    return c;
}
