#pragma once

#include <QByteArray>

// The fixed request packets, built once. PlayersQuery and RulesQuery carry a
// challenge slot (bytes 5..8) that every challenge reply overwrites.
class RequestPackets
{
public:
    RequestPackets();

    QByteArray InfoQuery;       // FF FF FF FF 'T' "Source Engine Query" 00
    QByteArray OldInfoQuery;    // FF FF FF FF "infostring" 00
    QByteArray PlayersQuery;    // FF FF FF FF 'U' "Source Engine Query" 00
    QByteArray OldPlayersQuery; // FF FF FF FF "players" 00
    QByteArray RulesQuery;      // FF FF FF FF 'V' "Source Engine Query" 00
    QByteArray OldRulesQuery;   // FF FF FF FF "rules" 00

    static constexpr int ChallengeOffset = 5;
    static constexpr int ChallengeSize = 4;
    static constexpr int ChallengeAnswerSize = ChallengeOffset + ChallengeSize;

    // Copies the 4 challenge bytes, as they arrived, into both slots.
    void setChallenge(const QByteArray &challenge);
    // The info request of a server that challenged it: InfoQuery and the challenge (29 bytes).
    QByteArray infoQueryWithChallenge(const QByteArray &challenge) const;
};

// Bytes 5..8 of a challenge reply; missing bytes read as zero.
QByteArray challengeOf(const QByteArray &reply);
