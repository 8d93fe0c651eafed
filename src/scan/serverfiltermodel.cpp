#include "scan/serverfiltermodel.h"

#include "scan/serverlistmodel.h"

#include <utility>

ServerFilterModel::ServerFilterModel(ServerListModel &serverList, QObject *parent)
    : QSortFilterProxyModel(parent)
    , servers(serverList)
{
    setSourceModel(&serverList);
}

void ServerFilterModel::setFilter(ServerFilter filter)
{
    filter.text = filter.text.trimmed();
    if (filter == current)
        return;
    current = std::move(filter);
    // One new layout rather than a removal or an insertion for every run of
    // rows: the view follows it in a fraction of the time.
    invalidate();
}

void ServerFilterModel::keepInView(const QString &address, int port)
{
    if (address == keptAddress && port == keptPort)
        return;
    keptAddress = address;
    keptPort = port;
    invalidate();
}

bool ServerFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    const ServerRow &row = servers.row(sourceRow);
    if (!keptAddress.isEmpty() && row.port == keptPort && row.address == keptAddress)
        return true;
    return filterAccepts(current, row);
}
