#include "query/playersmodel.h"

#include "query/visibletext.h"

#include <QCoreApplication>

void PlayersModel::setPlayers(QVector<PlayerRow> players)
{
    beginResetModel();
    m_rows = std::move(players);
    sortPlayers(m_rows, PlayersSort::ByFrags);
    endResetModel();
}

void PlayersModel::clear()
{
    setPlayers({});
}

void PlayersModel::sortByColumn(int column)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    sortPlayers(m_rows, playersSortForColumn(column));
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int PlayersModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int PlayersModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant PlayersModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const PlayerRow &r = m_rows[index.row()];
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
