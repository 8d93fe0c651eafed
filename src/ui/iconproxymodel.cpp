#include "ui/iconproxymodel.h"

#include "scan/serverlistmodel.h"
#include "ui/iconlibrary.h"

namespace {

QVariant iconOf(const QVariant &index)
{
    if (!index.isValid())
        return {};
    return IconLibrary::listIcon(index.toInt());
}

} // namespace

QVariant IconProxyModel::data(const QModelIndex &index, int role) const
{
    if (role == Qt::DecorationRole)
        return iconOf(QIdentityProxyModel::data(index, ServerListModel::IconRole));
    return QIdentityProxyModel::data(index, role);
}

QVariant IconProxyModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::DecorationRole)
        return iconOf(QIdentityProxyModel::headerData(section, orientation, ServerListModel::IconRole));
    return QIdentityProxyModel::headerData(section, orientation, role);
}
