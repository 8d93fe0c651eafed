#include "query/playersmodel.h"

#include "query/visibletext.h"

#include <QCoreApplication>

void PlayersModel::setPlayers(QVector<PlayerRow> players)
{
    beginResetModel();
    rows = std::move(players);
    sortPlayers(rows, PlayersSort::ByFrags);
    endResetModel();
}

void PlayersModel::clear()
{
    setPlayers({});
}

void PlayersModel::LWPlayersColumnClick(int column)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    sortPlayers(rows, playersSortForColumn(column));
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int PlayersModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows.size());
}

int PlayersModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant PlayersModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows.size())
        return {};
    const PlayerRow &r = rows[index.row()];
    if (role == Qt::DisplayRole)
        return index.column() == 0 ? visibleText(r.name) : QString::number(r.frags);
    if (role == Qt::TextAlignmentRole && index.column() == 1)
        return int(Qt::AlignCenter);
    return {};
}

QVariant PlayersModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == 0 ? QCoreApplication::translate("MainWindow", "NickName")
                        : QCoreApplication::translate("MainWindow", "Frags");
}
