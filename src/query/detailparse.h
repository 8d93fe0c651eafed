#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

struct PlayerRow
{
    QString name;
    qint32 frags = 0;
    bool operator==(const PlayerRow &o) const { return name == o.name && frags == o.frags; }
};

struct RuleRow
{
    QString name;
    QString value;
    bool operator==(const RuleRow &o) const { return name == o.name && value == o.value; }
};

// A players reply ('D', header included) to its rows, in reply order (the list
// shows them sorted by frags, see sortPlayers). Reads at
// most the announced number of players (The Ship appends other data after them)
// and stops at the end of the data: an entry cut short is not shown.
QVector<PlayerRow> parsePlayers(const QByteArray &reply);

// A whole rules reply ('E', header included) to its rows, in reply order. The
// count is 16 bits; reading stops at the end of the data.
QVector<RuleRow> parseRules(const QByteArray &reply);

// The two orders of the players list: by nickname (ASCII letters folded,
// ascending) and by frags (highest first). Each click sorts the same way again.
enum class PlayersSort { ByName, ByFrags };
void sortPlayers(QVector<PlayerRow> &rows, PlayersSort order);
// The column clicked in the players list: the first sorts by name, any other by frags.
PlayersSort playersSortForColumn(int column);

// Case-insensitive text order used by the lists: ASCII letters folded to upper
// case, then compared unit by unit; a prefix sorts first.
int compareFolded(const QString &a, const QString &b);
