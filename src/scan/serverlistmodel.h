#pragma once

#include "query/serverinfo.h"

#include "settings/sortedtablemodel.h"

#include <QHash>
#include <QString>
#include <vector>

class SettingsModel;
struct AutoConnectState;

// One server of the list: the caption (game code) and the eight sub-items.
struct ServerRow
{
    QString caption; // game code
    int gameIcon = 0;
    QString name;
    QString address;
    QString portText;
    QString protocolText;
    QString map;
    QString playersText; // "players/max"
    QString osText;
    int osIcon = 0;
    int accessIcon = 0;
    int port = 0;
    quint8 players = 0;
    quint8 maxPlayers = 0;
    quint8 password = 0; // the reply's flag: 1 asks for a password
    char os = 0;       // the reply's operating-system letter
    int bots = -1;     // -1: the reply does not say
    int ping = -1;     // ms; -1: unknown
    QString pingText;  // empty while the ping is unknown

    // Text of a list column: 0 the caption, 1..8 the sub-items ("A" is
    // empty), 9 the ping.
    QString columnText(int column) const;
};

// The server list: one row per answering server, identified by address text
// and port. Fed by addOrUpdate with every parsed info reply.
class ServerListModel : public SortedTableModel
{
    Q_OBJECT

public:
    // The ping comes last so that the columns before it keep their numbers;
    // the window shows it beside the players.
    enum Column {
        ColumnGame, ColumnName, ColumnAddress, ColumnPort, ColumnProtocol,
        ColumnMap, ColumnPlayers, ColumnOs, ColumnAccess, ColumnPing, ColumnCount
    };
    // Icon index (ListIcon) of the game, OS and access columns and of the headers.
    static constexpr int IconRole = Qt::UserRole + 1;

    // Both are read each time a reply is handled.
    ServerListModel(const SettingsModel &settings, const AutoConnectState &autoConnect,
                    QObject *parent = nullptr);

    // Lists a new server or refreshes map, players, access, bots and ping of a known one.
    void addOrUpdate(const ServerInfo &info);

    void clear();
    // A refresh asked this server again: its access column shows the question
    // mark until the answer sets the access icon anew.
    void markPending(const QString &address, int port);
    const ServerRow &row(int index) const { return m_rows[size_t(index)]; }
    // Row of the server at address:port, or -1.
    int findRow(const QString &address, int port) const;

    // compareListText of the texts of `column` of rows a and b; the ping
    // compares as a number, unknown after every known one.
    static int compareRows(const ServerRow &a, const ServerRow &b, int column);
    // Remembers the column as the sort column and sorts the list by it, ascending.
    void sortByColumn(int column);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

signals:
    // A new row was appended for a reply (not emitted for refreshed rows).
    void serverAdded(int row, const ServerInfo &info);

private:
    struct Key
    {
        QString address;
        int port;
        bool operator==(const Key &o) const { return port == o.port && address == o.address; }
        friend size_t qHash(const Key &key, size_t seed = 0) noexcept
        {
            return qHashMulti(seed, key.address, key.port);
        }
    };

    void refreshRow(int index, const ServerInfo &info);
    // What a cell says to the mouse pointer and the screen reader; empty when
    // its text says it all.
    static QString cellHint(const ServerRow &row, int column);
    void appendRow(const ServerInfo &info, const QString &code, int icon);
    void rebuildIndex();

    const SettingsModel &m_settings;
    const AutoConnectState &m_autoConnect;
    std::vector<ServerRow> m_rows;
    // address+port -> row; rows are unique by that pair, so this is the first
    // match a scan from the top would find.
    QHash<Key, int> m_index;
};
