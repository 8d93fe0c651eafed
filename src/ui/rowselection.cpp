#include "ui/rowselection.h"

#include <QAbstractProxyModel>
#include <QItemSelectionModel>
#include <QTableView>

namespace {

QModelIndex toSource(QModelIndex index)
{
    while (const auto *proxy = qobject_cast<const QAbstractProxyModel *>(index.model()))
        index = proxy->mapToSource(index);
    return index;
}

// The cell of the source model's row as `model` shows it; invalid when it does not.
QModelIndex fromSource(const QAbstractItemModel *model, int row)
{
    if (const auto *proxy = qobject_cast<const QAbstractProxyModel *>(model))
        return proxy->mapFromSource(fromSource(proxy->sourceModel(), row));
    return row >= 0 && row < model->rowCount() ? model->index(row, 0) : QModelIndex();
}

} // namespace

int selectedRow(const QTableView &view)
{
    const QModelIndexList rows = view.selectionModel()->selectedRows();
    if (rows.isEmpty())
        return -1;
    const QModelIndex source = toSource(rows.first());
    return source.isValid() ? source.row() : -1;
}

void selectRowOrNone(QTableView &view, int row)
{
    const QModelIndex shown = fromSource(view.model(), row);
    if (shown.isValid())
        view.selectRow(shown.row());
    else
        view.clearSelection();
}
