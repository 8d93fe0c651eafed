#include "queryoutput.h"

#include "query/visibletext.h"
#include "scan/listicons.h"

#include <QJsonArray>

#include <algorithm>
#include <array>

namespace {

constexpr int ColumnCount = ServerListModel::ColumnCount;
const QString Indent = QStringLiteral("    ");
const QString Gap = QStringLiteral("  ");

// The columns in the window's order: the ping beside the players.
constexpr std::array<int, ColumnCount> Order = {
    ServerListModel::ColumnGame, ServerListModel::ColumnName, ServerListModel::ColumnAddress,
    ServerListModel::ColumnPort, ServerListModel::ColumnProtocol, ServerListModel::ColumnMap,
    ServerListModel::ColumnPlayers, ServerListModel::ColumnPing, ServerListModel::ColumnOs,
    ServerListModel::ColumnAccess};

std::array<QString, ColumnCount> rowCells(const ServerRow &row)
{
    std::array<QString, ColumnCount> cells;
    for (size_t i = 0; i < Order.size(); ++i)
        cells[i] = Order[i] == ServerListModel::ColumnAccess ? accessText(row.accessIcon) : row.columnText(Order[i]);
    return cells;
}

QString joinPadded(const std::array<QString, ColumnCount> &cells, const std::array<qsizetype, ColumnCount> &widths)
{
    QString line;
    for (size_t c = 0; c < cells.size(); ++c) {
        if (c > 0)
            line += Gap;
        line += c + 1 < cells.size() ? cells[c].leftJustified(widths[c]) : cells[c];
    }
    return line;
}

void appendPlayers(QStringList &lines, const QVector<PlayerRow> &players)
{
    lines.append(Indent + QStringLiteral("Players: %1").arg(players.size()));
    qsizetype width = 0;
    for (const PlayerRow &p : players)
        width = std::max(width, p.name.size());
    for (const PlayerRow &p : players)
        lines.append(Indent + Indent + p.name.leftJustified(width) + Gap + QString::number(p.frags));
}

void appendRules(QStringList &lines, const QVector<RuleRow> &rules)
{
    lines.append(Indent + QStringLiteral("Rules: %1").arg(rules.size()));
    qsizetype width = 0;
    for (const RuleRow &r : rules)
        width = std::max(width, r.name.size());
    for (const RuleRow &r : rules)
        lines.append(Indent + Indent + r.name.leftJustified(width) + Gap + r.value);
}

} // namespace

QString accessText(int accessIcon)
{
    switch (accessIcon) {
    case IconFree: return QStringLiteral("free");
    case IconPassword: return QStringLiteral("password");
    default: return QStringLiteral("full");
    }
}

QJsonObject serverJson(const ListedServer &server, bool withPlayers, bool withRules)
{
    const ServerRow &row = server.row;
    const ServerInfo &info = server.info;
    QJsonObject o{
        {QStringLiteral("address"), row.address},
        {QStringLiteral("port"), row.port},
        {QStringLiteral("game"), row.caption},
        {QStringLiteral("icon"), row.gameIcon},
        {QStringLiteral("gameDir"), info.gameDir},
        {QStringLiteral("description"), info.description},
        {QStringLiteral("name"), row.name},
        {QStringLiteral("map"), row.map},
        {QStringLiteral("protocol"), int(info.protocol)},
        {QStringLiteral("players"), int(row.players)},
        {QStringLiteral("maxPlayers"), int(row.maxPlayers)},
        {QStringLiteral("os"), row.osText},
        {QStringLiteral("access"), accessText(row.accessIcon)},
        {QStringLiteral("password"), int(info.password)},
        {QStringLiteral("proxy"), info.proxy},
        {QStringLiteral("bots"), row.bots < 0 ? QJsonValue() : QJsonValue(row.bots)},
        {QStringLiteral("ping"), row.ping < 0 ? QJsonValue() : QJsonValue(row.ping)},
    };
    if (withPlayers) {
        QJsonArray list;
        for (const PlayerRow &p : server.players)
            list.append(QJsonObject{{QStringLiteral("name"), p.name}, {QStringLiteral("frags"), p.frags}});
        o.insert(QStringLiteral("playerList"), list);
    }
    if (withRules) {
        QJsonArray list;
        for (const RuleRow &r : server.rules)
            list.append(QJsonObject{{QStringLiteral("name"), r.name}, {QStringLiteral("value"), r.value}});
        o.insert(QStringLiteral("rules"), list);
    }
    return o;
}

QStringList serverTable(const QVector<ListedServer> &servers, bool withPlayers, bool withRules)
{
    const std::array<QString, ColumnCount> header = {
        QStringLiteral("Game"), QStringLiteral("Name"), QStringLiteral("Address"), QStringLiteral("Port"),
        QStringLiteral("PT"), QStringLiteral("Map"), QStringLiteral("Players"), QStringLiteral("Ping"),
        QStringLiteral("OS"), QStringLiteral("A")};
    std::array<qsizetype, ColumnCount> widths{};
    auto widen = [&](const std::array<QString, ColumnCount> &cells) {
        for (size_t c = 0; c < cells.size(); ++c)
            widths[c] = std::max(widths[c], cells[c].size());
    };
    widen(header);
    for (const ListedServer &s : servers)
        widen(rowCells(s.row));

    QStringList lines{joinPadded(header, widths)};
    for (const ListedServer &s : servers) {
        lines.append(joinPadded(rowCells(s.row), widths));
        if (withPlayers)
            appendPlayers(lines, s.players);
        if (withRules)
            appendRules(lines, s.rules);
    }
    // What the servers sent goes to a terminal; JSON escapes it by itself.
    for (QString &line : lines)
        line = visibleText(line);
    return lines;
}
