#include "query/detailparse.h"

#include "query/replyreader.h"

#include <algorithm>

namespace {

constexpr int HeaderSize = 5;

ushort foldAscii(ushort c)
{
    return (c >= 'a' && c <= 'z') ? ushort(c - 32) : c;
}

} // namespace

QVector<PlayerRow> parsePlayers(const QByteArray &reply)
{
    QVector<PlayerRow> rows;
    ReplyReader r(reply, HeaderSize);
    const int count = r.byte();
    while (r.ok() && !r.atEnd() && rows.size() < count) {
        r.byte(); // index
        PlayerRow row;
        row.name = r.string();
        row.frags = r.int32();
        r.skip(4); // time on the server
        if (!r.ok())
            break;
        rows.append(row);
    }
    return rows;
}

QVector<RuleRow> parseRules(const QByteArray &reply)
{
    QVector<RuleRow> rows;
    ReplyReader r(reply, HeaderSize);
    const int count = r.uint16();
    rows.reserve(qMin(count, 4096));
    while (r.ok() && !r.atEnd() && rows.size() < count) {
        RuleRow row;
        row.name = r.string();
        row.value = r.string();
        if (!r.ok())
            break;
        rows.append(row);
    }
    return rows;
}

int compareFolded(const QString &a, const QString &b)
{
    const int n = int(qMin(a.size(), b.size()));
    for (int i = 0; i < n; ++i) {
        const ushort x = foldAscii(a[i].unicode());
        const ushort y = foldAscii(b[i].unicode());
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void sortPlayers(QVector<PlayerRow> &rows, PlayersSort order)
{
    if (order == PlayersSort::ByName) {
        std::stable_sort(rows.begin(), rows.end(),
                         [](const PlayerRow &a, const PlayerRow &b) { return compareFolded(a.name, b.name) < 0; });
    } else {
        std::stable_sort(rows.begin(), rows.end(),
                         [](const PlayerRow &a, const PlayerRow &b) { return a.frags > b.frags; });
    }
}

PlayersSort playersSortForColumn(int column)
{
    return column == 0 ? PlayersSort::ByName : PlayersSort::ByFrags;
}
