#include "serverlistmodel.h"

#include "gameclass.h"
#include "scan/autoconnectstate.h"
#include "listicons.h"
#include "query/visibletext.h"
#include "settings/listtext.h"
#include "settings/settingsmodel.h"

#include <QCoreApplication>
#include <algorithm>
#include <limits>

namespace {

// "12/20" in one allocation; this runs for every reply.
QString playersText(quint8 players, quint8 maxPlayers)
{
    char buffer[8];
    int n = 0;
    auto put = [&](unsigned value) {
        if (value >= 100)
            buffer[n++] = char('0' + value / 100);
        if (value >= 10)
            buffer[n++] = char('0' + value / 10 % 10);
        buffer[n++] = char('0' + value % 10);
    };
    put(players);
    buffer[n++] = '/';
    put(maxPlayers);
    return QString::fromLatin1(buffer, n);
}

} // namespace

QString ServerRow::columnText(int column) const
{
    switch (column) {
    case ServerListModel::ColumnGame: return caption;
    case ServerListModel::ColumnName: return name;
    case ServerListModel::ColumnAddress: return address;
    case ServerListModel::ColumnPort: return portText;
    case ServerListModel::ColumnProtocol: return protocolText;
    case ServerListModel::ColumnMap: return map;
    case ServerListModel::ColumnPlayers: return playersText;
    case ServerListModel::ColumnOs: return osText;
    case ServerListModel::ColumnPing: return pingText;
    default: return {};
    }
}

ServerListModel::ServerListModel(const SettingsModel &settings, const AutoConnectState &autoConnect,
                                 QObject *parent)
    : SortedTableModel(parent)
    , m_settings(settings)
    , m_autoConnect(autoConnect)
{
}

void ServerListModel::addOrUpdate(const ServerInfo &info)
{
    if (m_autoConnect.active) {
        if (info.address != m_autoConnect.targetAddress
            || info.port != m_autoConnect.targetPort)
            return;
        // Only the watched server is shown while auto-connect waits.
        clear();
    }

    const int known = findRow(info.address, info.port);
    if (known >= 0) {
        refreshRow(known, info);
        return;
    }

    const GameClass game = classifyGame(info);
    if (game.filter != AlwaysListed && !m_settings.showGame[size_t(game.filter)])
        return;

    appendRow(info, game.code, game.icon);
    emit serverAdded(int(m_rows.size()) - 1, info);
}

void ServerListModel::refreshRow(int index, const ServerInfo &info)
{
    ServerRow &r = m_rows[size_t(index)];
    r.map = info.map;
    if (r.players != info.players || r.maxPlayers != info.maxPlayers) {
        r.players = info.players;
        r.maxPlayers = info.maxPlayers;
        r.playersText = playersText(info.players, info.maxPlayers);
    }
    r.password = info.password;
    r.accessIcon = accessIcon(info.password, info.players, info.maxPlayers);
    r.bots = info.bots;
    // A reply that answers no request of ours keeps the last time measured.
    if (info.ping >= 0) {
        r.ping = info.ping;
        r.pingText = QString::number(info.ping);
    }
    emit dataChanged(createIndex(index, ColumnMap), createIndex(index, ColumnPing));
}

void ServerListModel::appendRow(const ServerInfo &info, const QString &code, int icon)
{
    const int index = int(m_rows.size());
    const OsText os = osText(info.os);

    ServerRow r;
    r.caption = code;
    r.gameIcon = icon;
    r.name = info.hostName;
    r.address = info.address;
    r.portText = QString::number(info.port);
    r.protocolText = QString::number(info.protocol);
    r.map = info.map;
    r.players = info.players;
    r.maxPlayers = info.maxPlayers;
    r.password = info.password;
    r.playersText = playersText(info.players, info.maxPlayers);
    r.osText = os.text;
    r.osIcon = os.icon;
    r.accessIcon = accessIcon(info.password, info.players, info.maxPlayers);
    r.port = info.port;
    r.os = info.os;
    r.bots = info.bots;
    r.ping = info.ping;
    if (info.ping >= 0)
        r.pingText = QString::number(info.ping);

    beginInsertRows(QModelIndex(), index, index);
    m_index.insert(Key{info.address, info.port}, index);
    m_rows.push_back(std::move(r));
    endInsertRows();
}

void ServerListModel::markPending(const QString &address, int port)
{
    const int index = findRow(address, port);
    if (index < 0)
        return;
    m_rows[size_t(index)].accessIcon = IconUnknown;
    const QModelIndex cell = createIndex(index, ColumnAccess);
    emit dataChanged(cell, cell);
}

void ServerListModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_index.clear();
    endResetModel();
}

int ServerListModel::findRow(const QString &address, int port) const
{
    return m_index.value(Key{address, port}, -1);
}

int ServerListModel::compareRows(const ServerRow &a, const ServerRow &b, int column)
{
    if (column == ColumnPing) {
        // As numbers, so that 9 comes before 10.
        const auto key = [](const ServerRow &r) { return r.ping < 0 ? std::numeric_limits<qint64>::max() : r.ping; };
        const qint64 ka = key(a);
        const qint64 kb = key(b);
        return ka < kb ? -1 : ka > kb ? 1 : 0;
    }
    return compareListText(a.columnText(column), b.columnText(column));
}

void ServerListModel::sortByColumn(int column)
{
    sortRows(
        column, m_rows,
        [column](const ServerRow &a, const ServerRow &b) { return compareRows(a, b, column) < 0; },
        [this] { rebuildIndex(); });
}

void ServerListModel::rebuildIndex()
{
    m_index.clear();
    m_index.reserve(qsizetype(m_rows.size()));
    for (size_t i = 0; i < m_rows.size(); ++i)
        m_index.insert(Key{m_rows[i].address, m_rows[i].port}, int(i));
}

int ServerListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ServerListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ServerListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_rows.size()))
        return {};
    const ServerRow &r = m_rows[size_t(index.row())];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        // Name, map and an unknown game folder are the server's own text.
        return visibleText(r.columnText(column));
    case IconRole:
        if (column == ColumnGame)
            return r.gameIcon;
        if (column == ColumnOs)
            return r.osIcon;
        if (column == ColumnAccess)
            return r.accessIcon;
        return {};
    case Qt::TextAlignmentRole:
        return column == ColumnGame ? QVariant() : QVariant(int(Qt::AlignCenter));
    case Qt::ToolTipRole:
    case Qt::AccessibleTextRole: {
        const QString hint = cellHint(r, column);
        if (hint.isEmpty())
            return {};
        // A screen reader reads the hint instead of the text, so it must not
        // lose the folder name that the tooltip leaves out.
        if (role == Qt::AccessibleTextRole && column == ColumnGame && r.gameIcon == IconUnknown)
            return hint + QStringLiteral(": ") + r.caption;
        return hint;
    }
    default:
        return {};
    }
}

QString ServerListModel::cellHint(const ServerRow &r, int column)
{
    switch (column) {
    case ColumnGame: {
        // The folder of an unknown game is the cell's own text; it is not
        // repeated here, where a tooltip would take markup in it for rich text.
        const QString name = gameName(r.caption, r.gameIcon);
        return name.isEmpty() ? QCoreApplication::translate("ServerList", "Unrecognised game") : name;
    }
    case ColumnPlayers: {
        // English says "player" for one only; the other languages take their
        // plural forms from both messages.
        const QString players = r.players == 1
            ? QCoreApplication::translate("ServerList", "%n player", nullptr, r.players)
            : QCoreApplication::translate("ServerList", "%n players", nullptr, r.players);
        const QString maximum = QString::number(r.maxPlayers);
        if (r.bots < 0) {
            //: Tooltip of the Players cell: %1 "12 players", %2 the maximum.
            return QCoreApplication::translate("ServerList", "%1 of %2").arg(players, maximum);
        }
        const QString bots = r.bots == 1 ? QCoreApplication::translate("ServerList", "%n bot", nullptr, r.bots)
                                         : QCoreApplication::translate("ServerList", "%n bots", nullptr, r.bots);
        //: Tooltip of the Players cell: %1 "12 players", %2 "3 bots", %3 the maximum.
        return QCoreApplication::translate("ServerList", "%1 (%2) of %3").arg(players, bots, maximum);
    }
    case ColumnOs:
        return osName(r.os);
    case ColumnAccess:
        switch (r.accessIcon) {
        case IconFree: return QCoreApplication::translate("ServerList", "Room free");
        case IconPassword: return QCoreApplication::translate("ServerList", "Password required");
        case IconUnknown: return QCoreApplication::translate("ServerList", "Waiting for an answer");
        default: return QCoreApplication::translate("ServerList", "Server full");
        }
    default:
        return {};
    }
}

QVariant ServerListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return {};
    //: Column captions of the server list: PT the protocol version, OS the operating system,
    //: A the access (free, full, password).
    static const char *const captions[ColumnCount] = {
        QT_TRANSLATE_NOOP("ServerList", "Game"), QT_TRANSLATE_NOOP("ServerList", "Name"),
        QT_TRANSLATE_NOOP("ServerList", "Address"), QT_TRANSLATE_NOOP("ServerList", "Port"),
        QT_TRANSLATE_NOOP("ServerList", "PT"), QT_TRANSLATE_NOOP("ServerList", "Map"), "",
        QT_TRANSLATE_NOOP("ServerList", "OS"), QT_TRANSLATE_NOOP("ServerList", "A"),
        QT_TRANSLATE_NOOP("ServerList", "Ping")};
    static const char *const hints[ColumnCount] = {
        QT_TRANSLATE_NOOP("ServerList", "Game"), QT_TRANSLATE_NOOP("ServerList", "Server name"),
        QT_TRANSLATE_NOOP("ServerList", "Address"), QT_TRANSLATE_NOOP("ServerList", "Port"),
        QT_TRANSLATE_NOOP("ServerList", "Protocol version"), QT_TRANSLATE_NOOP("ServerList", "Map"),
        QT_TRANSLATE_NOOP("ServerList", "Players"), QT_TRANSLATE_NOOP("ServerList", "Operating system"),
        QT_TRANSLATE_NOOP("ServerList", "Access"),
        QT_TRANSLATE_NOOP("ServerList", "Round-trip time of the info query, in milliseconds")};
    static const int icons[ColumnCount] = {
        -1, IconMonitor, IconNetwork, -1, -1, IconGlobe, IconPlayer, IconComputer, -1, -1};
    if (role == Qt::DisplayRole)
        return *captions[section] ? QCoreApplication::translate("ServerList", captions[section]) : QString();
    if (role == Qt::ToolTipRole || role == Qt::AccessibleTextRole)
        return QCoreApplication::translate("ServerList", hints[section]);
    if (role == IconRole && icons[section] >= 0)
        return icons[section];
    return {};
}
