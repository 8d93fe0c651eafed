#include "emulatedserver.h"

#include "replybuilder.h"
#include "splitter.h"

#include <QRandomGenerator>
#include <QtEndian>

#include <algorithm>

namespace {

// Larger UDP payloads cannot be sent over IPv4.
constexpr int kMaxDatagram = 65507;

bool splits(const std::optional<SplitConfig> &split, int category)
{
    if (!split)
        return false;
    const bool applies[] = {split->forInfo, split->forPlayers, split->forRules};
    return applies[category];
}

} // namespace

EmulatedServer::EmulatedServer(const ServerConfig &config)
    : m_config(config), m_players(config.players)
{
    renewChallenge();
}

void EmulatedServer::setPlayers(int count)
{
    m_players = qBound(0, count, 255);
}

void EmulatedServer::stepPlayers()
{
    if (!m_config.playerSteps)
        return;
    const QList<int> &counts = m_config.playerSteps->counts;
    m_stepIndex = (m_stepIndex + 1) % int(counts.size());
    setPlayers(counts[m_stepIndex]);
}

void EmulatedServer::renewChallenge()
{
    // Neither the value that asks for a challenge nor the filler a client sends
    // before it has one may pass as a valid challenge.
    do {
        m_challenge.resize(4);
        qToLittleEndian(QRandomGenerator::global()->generate(), m_challenge.data());
    } while (m_challenge == QByteArray("\xFF\xFF\xFF\xFF", 4) || m_challenge == "Sour");
}

QList<EmulatedServer::Reply> EmulatedServer::repliesFor(RequestKind kind, quint16 port) const
{
    const Dialect dialect = m_config.dialect;
    const bool old = dialect == Dialect::Old;
    QList<Reply> replies;
    switch (kind) {
    case RequestKind::Info:
        if (dialect == Dialect::GoldSrc || dialect == Dialect::Both)
            replies.append({goldSrcInfoReply(m_config, m_players, port), Category::Info, QStringLiteral("m")});
        if (dialect == Dialect::Source || dialect == Dialect::Both)
            replies.append({sourceInfoReply(m_config, m_players, port), Category::Info, QStringLiteral("I")});
        break;
    case RequestKind::Players:
    case RequestKind::OldPlayers:
        if (old == (kind == RequestKind::OldPlayers))
            replies.append({playersReply(m_config.playerList), Category::Players, QStringLiteral("D")});
        break;
    case RequestKind::Rules:
    case RequestKind::OldRules:
        if (old == (kind == RequestKind::OldRules))
            replies.append({rulesReply(m_config.rules), Category::Rules, QStringLiteral("E")});
        break;
    case RequestKind::OldInfo:
        if (old)
            replies.append({oldInfoReply(m_config, m_players, port), Category::Info, QStringLiteral("infostringresponse")});
        break;
    case RequestKind::Unknown:
        break;
    }
    return replies;
}

Answer EmulatedServer::answer(const Request &request, quint16 port)
{
    if (m_config.silent)
        return {{}, QStringLiteral("silent")};
    const QList<Reply> replies = repliesFor(request.kind, port);
    if (replies.isEmpty())
        return {{}, QStringLiteral("ignored")};
    const bool challengeable = request.kind == RequestKind::Info || request.kind == RequestKind::Players
                               || request.kind == RequestKind::Rules;
    if (challengeable && m_config.challengeEveryTime) {
        renewChallenge();
        return challenge();
    }
    const bool needsChallenge = request.kind == RequestKind::Info ? m_config.infoChallenge
                                                                  : challengeable && m_config.detailChallenge;
    if (needsChallenge && request.challenge != m_challenge)
        return challenge();
    return send(replies);
}

Answer EmulatedServer::challenge()
{
    return {{challengeReply(m_challenge)}, QStringLiteral("A")};
}

Answer EmulatedServer::send(const QList<Reply> &replies)
{
    Answer answer;
    QStringList summaries;
    for (const Reply &reply : replies) {
        QList<QByteArray> parts = {reply.bytes};
        if (splits(m_config.split, int(reply.category)))
            parts = splitReply(reply.bytes, *m_config.split, m_nextSplitId);
        QString summary = QStringLiteral("%1 %2").arg(reply.label).arg(reply.bytes.size());
        if (parts.size() > 1) {
            ++m_nextSplitId;
            summary += QStringLiteral(" in %1 parts").arg(parts.size());
            if (m_config.split->reverse) {
                std::reverse(parts.begin(), parts.end());
                summary += QStringLiteral(" last first");
            }
        }
        answer.datagrams += parts;
        summaries.append(summary);
    }
    answer.summary = summaries.join(QStringLiteral(" + "));
    return answer;
}

QString EmulatedServer::replyProblem(const ServerConfig &config)
{
    EmulatedServer server(config);
    server.setPlayers(255);
    const RequestKind kinds[] = {RequestKind::Info, RequestKind::OldInfo, RequestKind::Players,
                                 RequestKind::OldPlayers, RequestKind::Rules, RequestKind::OldRules};
    for (const RequestKind kind : kinds) {
        for (const Reply &reply : server.repliesFor(kind, 65535)) {
            // A padded reply is exactly padName bytes long; a longer one could not be padded.
            if (reply.category == Category::Info && config.padName > 0 && reply.bytes.size() > config.padName)
                return QStringLiteral("padName %1 is shorter than the %2 reply without padding (%3 bytes)")
                    .arg(config.padName).arg(reply.label).arg(reply.bytes.size());
            if (splits(config.split, int(reply.category))) {
                const int parts = int((reply.bytes.size() + config.split->fragmentSize - 1) / config.split->fragmentSize);
                if (parts > maxSplitParts(config.split->layout))
                    return QStringLiteral("the %1 reply (%2 bytes) needs %3 parts, more than the split layout allows")
                        .arg(reply.label).arg(reply.bytes.size()).arg(parts);
            } else if (reply.bytes.size() > kMaxDatagram) {
                return QStringLiteral("the %1 reply (%2 bytes) is too big for one datagram; configure split")
                    .arg(reply.label).arg(reply.bytes.size());
            }
        }
    }
    return QString();
}
