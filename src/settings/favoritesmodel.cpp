#include "settings/favoritesmodel.h"

#include "settings/listtext.h"

#include <QCoreApplication>

FavoritesModel::FavoritesModel(QVector<FavoriteRow> &favorites, QObject *parent)
    : SortedTableModel(parent)
    , m_favorites(favorites)
{
}

QString FavoritesModel::add(const QString &host, const QString &port)
{
    if (host.size() < MinHostLength || port.isEmpty())
        return QCoreApplication::translate("SettingsDialog", "Bad address");
    return append(host, port);
}

QString FavoritesModel::addListed(const QString &host, const QString &port)
{
    return append(host, port);
}

QString FavoritesModel::append(const QString &host, const QString &port)
{
    if (contains(host, port))
        return QCoreApplication::translate("SettingsDialog", "This address is already exist");
    const int row = int(m_favorites.size());
    beginInsertRows({}, row, row);
    m_favorites.append({host, port});
    endInsertRows();
    return {};
}

bool FavoritesModel::contains(const QString &host, const QString &port) const
{
    return m_favorites.contains(FavoriteRow{host, port});
}

bool FavoritesModel::remove(int row)
{
    if (row < 0 || row >= m_favorites.size())
        return false;
    beginRemoveRows({}, row, row);
    m_favorites.removeAt(row);
    endRemoveRows();
    return true;
}

QString FavoritesModel::columnText(const FavoriteRow &row, int column)
{
    return column == ColumnPort ? row.port : row.host;
}

void FavoritesModel::sortByColumn(int column)
{
    sortRows(
        column, m_favorites,
        [column](const FavoriteRow &a, const FavoriteRow &b) {
            return compareListText(columnText(a, column), columnText(b, column)) < 0;
        },
        [] {});
}

void FavoritesModel::reload()
{
    beginResetModel();
    endResetModel();
}

int FavoritesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_favorites.size());
}

int FavoritesModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FavoritesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_favorites.size())
        return {};
    if (role == Qt::DisplayRole)
        return columnText(m_favorites[index.row()], index.column());
    if (role == Qt::TextAlignmentRole && index.column() == ColumnPort)
        return int(Qt::AlignCenter);
    return {};
}

QVariant FavoritesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return section == ColumnHost ? QCoreApplication::translate("SettingsDialog", "IP - Address")
                                     : QCoreApplication::translate("SettingsDialog", "Port");
    if (role == Qt::TextAlignmentRole && section == ColumnPort)
        return int(Qt::AlignCenter);
    return {};
}
