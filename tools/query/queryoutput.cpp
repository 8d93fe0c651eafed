#include "queryoutput.h"

#include "jsonwriter.h"

#include "query/visibletext.h"
#include "scan/listicons.h"


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

namespace {

// A count the server may not have told (-1): null in JSON.
std::optional<qint64> known(int count)
{
    return count < 0 ? std::nullopt : std::optional<qint64>(count);
}

} // namespace

QByteArray serverJson(const ListedServer &server, bool withPlayers, bool withRules)
{
    const ServerRow &row = server.row;
    const ServerInfo &info = server.info;
    // Keys in sorted order, as the output always had them.
    JsonWriter json;
    json.beginObject();
    json.field("access", accessText(row.accessIcon));
    json.field("address", row.address);
    json.field("bots", known(row.bots));
    json.field("description", info.description);
    json.field("game", row.caption);
    json.field("gameDir", info.gameDir);
    json.field("icon", row.gameIcon);
    json.field("map", row.map);
    json.field("maxPlayers", row.maxPlayers);
    json.field("name", row.name);
    json.field("os", row.osText);
    json.field("password", info.password);
    json.field("ping", known(row.ping));
    if (withPlayers) {
        json.key("playerList");
        json.beginArray();
        for (const PlayerRow &p : server.players) {
            json.beginObject();
            json.field("frags", p.frags);
            json.field("name", p.name);
            json.endObject();
        }
        json.endArray();
    }
    json.field("players", row.players);
    json.field("port", row.port);
    json.field("protocol", info.protocol);
    json.field("proxy", info.proxy);
    if (withRules) {
        json.key("rules");
        json.beginArray();
        for (const RuleRow &r : server.rules) {
            json.beginObject();
            json.field("name", r.name);
            json.field("value", r.value);
            json.endObject();
        }
        json.endArray();
    }
    json.endObject();
    return json.bytes();
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
