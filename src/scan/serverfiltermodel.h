#pragma once

#include "scan/serverfilter.h"

#include <QSortFilterProxyModel>

class ServerListModel;

// The server list as the user sees it through the quick filter. It never
// sorts (the list sorts itself on a header click) and never changes the list:
// rows it leaves out are still listed, counted and refreshed.
class ServerFilterModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit ServerFilterModel(ServerListModel &servers, QObject *parent = nullptr);

    const ServerFilter &filter() const { return current; }
    // Blanks around the text do not count.
    void setFilter(ServerFilter filter);

    // Keeps the row of this server in view whatever the filter says: the
    // server auto-connect watches, whose join selects and launches its row.
    // An empty address keeps none.
    void keepInView(const QString &address, int port);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    const ServerListModel &servers;
    ServerFilter current;
    QString keptAddress;
    int keptPort = 0;
};
