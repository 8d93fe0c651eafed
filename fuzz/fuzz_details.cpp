// The players and rules parsers and the two detail lists, on any bytes: as the
// body of a 'D' and of an 'E' reply, and as they are.
//
// Checks: no more players than the reply's count byte allows and no more rules
// than its bytes can hold; both orders of the players list are sorted; the
// lists never show a control character.
#include "fuzzsupport.h"

#include "query/detailparse.h"
#include "query/playersmodel.h"
#include "query/rulesmodel.h"

#include <algorithm>

namespace {

// The first rows are enough: every row is shown the same way, and all of
// them would make each run slow.
template<typename Model>
void checkShown(const Model &model)
{
    for (int row = 0; row < qMin(model.rowCount(), 64); ++row) {
        for (int column = 0; column < model.columnCount(); ++column)
            FUZZ_CHECK(!hasControlCharacter(model.data(model.index(row, column)).toString()));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray body = bytesOf(data, size);
    const QByteArray playersReply = QByteArray("\xFF\xFF\xFF\xFF\x44", 5) + body;
    const QByteArray rulesReply = QByteArray("\xFF\xFF\xFF\xFF\x45", 5) + body;

    QVector<PlayerRow> players = parsePlayers(playersReply);
    FUZZ_CHECK(players.size() <= (body.isEmpty() ? 0 : quint8(body[0])));
    // An entry takes at least its index, the name's zero and eight bytes.
    FUZZ_CHECK(players.size() * 10 <= qMax<qsizetype>(body.size() - 1, 0));
    parsePlayers(body);

    const QVector<RuleRow> rules = parseRules(rulesReply);
    // A rule takes at least the zeros of its name and its value.
    FUZZ_CHECK(rules.size() * 2 <= qMax<qsizetype>(body.size() - 2, 0));
    parseRules(body);

    sortPlayers(players, PlayersSort::ByName);
    FUZZ_CHECK(std::is_sorted(players.begin(), players.end(), [](const PlayerRow &a, const PlayerRow &b) {
        return compareFolded(a.name, b.name) < 0;
    }));
    sortPlayers(players, PlayersSort::ByFrags);
    FUZZ_CHECK(std::is_sorted(players.begin(), players.end(),
                              [](const PlayerRow &a, const PlayerRow &b) { return a.frags > b.frags; }));

    PlayersModel playersList;
    playersList.setPlayers(players);
    playersList.sortByColumn(0);
    checkShown(playersList);
    RulesModel rulesList;
    rulesList.setRules(rules);
    checkShown(rulesList);
    return 0;
}
