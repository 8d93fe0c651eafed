#include "ui/rowselection.h"

#include <QItemSelectionModel>
#include <QTableView>

int selectedRow(const QTableView &view)
{
    const QModelIndexList rows = view.selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void selectRowOrNone(QTableView &view, int row)
{
    if (row < 0 || row >= view.model()->rowCount())
        view.clearSelection();
    else
        view.selectRow(row);
}
