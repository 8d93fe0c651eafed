// The emulator's JSON configuration, and the replies of every server it accepts.
//
// Checks: a refused configuration says why in one line; the replies of an
// accepted server are answered and, cut into split parts as configured, put
// back together by Vantor's reassembler byte for byte.
#include "fuzzsupport.h"

#include "emulatedserver.h"
#include "replybuilder.h"
#include "request.h"
#include "serverconfig.h"
#include "splitter.h"

#include "query/packets.h"
#include "query/splitreassembler.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

bool oneLine(const QString &text)
{
    return !text.isEmpty() && !text.contains(u'\n') && !text.contains(u'\r');
}

void checkReassembly(const QByteArray &reply, const SplitConfig &split)
{
    const QList<QByteArray> parts = splitReply(reply, split, 7);
    if (parts.size() < 2 || parts.size() > maxSplitParts(split.layout))
        return; // whole, or more parts than the layout can number
    qsizetype bytes = 0;
    for (const QByteArray &part : parts)
        bytes += part.size();
    if (parts.size() > SplitReassembler::MaxFragments || bytes > SplitReassembler::MaxSetBytes)
        return; // more than Vantor keeps of one reply
    SplitReassembler reassembler;
    std::optional<QByteArray> whole;
    for (qsizetype i = parts.size() - 1; i >= 0; --i) // the last part first, as a reversed split sends them
        whole = reassembler.add(0x7F000001, 27015, parts[i], 0);
    FUZZ_CHECK(whole && *whole == reply);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QJsonDocument document = QJsonDocument::fromJson(bytesOf(data, size));
    if (!document.isObject())
        return 0;
    QString error;
    const std::optional<FarmConfig> farm = parseFarmConfig(document.object(), &error);
    if (!farm) {
        FUZZ_CHECK(oneLine(error));
        return 0;
    }
    const RequestPackets packets;
    for (const ServerConfig &config : farm->servers) {
        const QString problem = EmulatedServer::replyProblem(config);
        if (!problem.isEmpty()) {
            FUZZ_CHECK(oneLine(problem));
            continue;
        }
        EmulatedServer server(config);
        for (const QByteArray &request : {packets.infoQuery, packets.playersQuery, packets.rulesQuery,
                                          packets.oldInfoQuery, packets.oldPlayersQuery, packets.oldRulesQuery})
            server.answer(classifyRequest(request), config.port);
        if (config.split) {
            checkReassembly(sourceInfoReply(config, config.players, config.port), *config.split);
            checkReassembly(goldSrcInfoReply(config, config.players, config.port), *config.split);
            checkReassembly(playersReply(config.playerList), *config.split);
            checkReassembly(rulesReply(config.rules), *config.split);
        }
    }
    return 0;
}
