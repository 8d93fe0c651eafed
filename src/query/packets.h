#pragma once

#include <QByteArray>

// The fixed request packets, built once. playersQuery and rulesQuery carry a
// challenge slot (bytes 5..8) that every challenge reply overwrites.
class RequestPackets
{
public:
    RequestPackets();

    QByteArray infoQuery;       // FF FF FF FF 'T' "Source Engine Query" 00
    QByteArray oldInfoQuery;    // FF FF FF FF "infostring" 00
    QByteArray playersQuery;    // FF FF FF FF 'U' "Source Engine Query" 00
    QByteArray oldPlayersQuery; // FF FF FF FF "players" 00
    QByteArray rulesQuery;      // FF FF FF FF 'V' "Source Engine Query" 00
    QByteArray oldRulesQuery;   // FF FF FF FF "rules" 00

    static constexpr int ChallengeOffset = 5;
    static constexpr int ChallengeSize = 4;
    static constexpr int ChallengeAnswerSize = ChallengeOffset + ChallengeSize;

    // Copies the 4 challenge bytes, as they arrived, into both slots.
    void setChallenge(const QByteArray &challenge);
    // The info request of a server that challenged it: infoQuery and the challenge (29 bytes).
    QByteArray infoQueryWithChallenge(const QByteArray &challenge) const;
};

// Bytes 5..8 of a challenge reply; missing bytes read as zero.
QByteArray challengeOf(const QByteArray &reply);
