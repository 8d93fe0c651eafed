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
    : InfoQuery(packet("TSource Engine Query"))
    , OldInfoQuery(packet("infostring"))
    , PlayersQuery(packet("USource Engine Query"))
    , OldPlayersQuery(packet("players"))
    , RulesQuery(packet("VSource Engine Query"))
    , OldRulesQuery(packet("rules"))
{
}

void RequestPackets::setChallenge(const QByteArray &challenge)
{
    for (int i = 0; i < ChallengeSize; ++i) {
        PlayersQuery[ChallengeOffset + i] = challenge.at(i);
        RulesQuery[ChallengeOffset + i] = challenge.at(i);
    }
}

QByteArray RequestPackets::infoQueryWithChallenge(const QByteArray &challenge) const
{
    return InfoQuery + challenge.left(ChallengeSize);
}

QByteArray challengeOf(const QByteArray &reply)
{
    QByteArray c = reply.mid(RequestPackets::ChallengeOffset, RequestPackets::ChallengeSize);
    c.append(RequestPackets::ChallengeSize - c.size(), char(0));
    return c;
}
