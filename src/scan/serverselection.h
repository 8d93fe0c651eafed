#pragma once

#include "scan/serverlistmodel.h"

#include <QString>

#include <optional>

// The server the user selected in the list, and the detail page shown for
// it. It is kept by address and port rather than by row, so it stays the same
// server while the list sorts or grows; a list emptied by a new sweep selects
// nothing. The scan session alone changes it.
class ServerSelection
{
public:
    enum DetailPage { PlayersPage = 0, RulesPage = 1 };

    void select(const ServerRow &row)
    {
        m_address = row.address;
        m_port = row.port;
        m_selected = true;
    }
    void clear() { m_selected = false; }
    void showPage(int page) { m_page = page == RulesPage ? RulesPage : PlayersPage; }

    bool isServer(const QString &address, int port) const
    {
        return m_selected && m_address == address && m_port == port;
    }
    DetailPage page() const { return m_page; }
    // The selected server's row in the list, or -1.
    int rowIn(const ServerListModel &servers) const { return m_selected ? servers.findRow(m_address, m_port) : -1; }
    std::optional<ServerRow> rowOf(const ServerListModel &servers) const
    {
        const int row = rowIn(servers);
        return row >= 0 ? std::optional<ServerRow>(servers.row(row)) : std::nullopt;
    }

private:
    QString m_address;
    int m_port = 0;
    bool m_selected = false;
    DetailPage m_page = PlayersPage;
};
