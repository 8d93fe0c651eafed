#include "ui/focusselection.h"

#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QTableView>

FocusSelection::FocusSelection(QTableView &list) : QObject(&list), view(list)
{
    view.installEventFilter(this);
}

void FocusSelection::takeFocus()
{
    view.setFocus(Qt::ShortcutFocusReason);
}

void FocusSelection::rowsFiltered()
{
    if (view.hasFocus() && view.model()->rowCount() == 1)
        selectCurrentRow();
}

bool FocusSelection::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &view && event->type() == QEvent::FocusIn) {
        // A click selects by itself, and focus coming back with the window or
        // from a menu is no move of the user's towards the list.
        switch (static_cast<QFocusEvent *>(event)->reason()) {
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::ShortcutFocusReason:
        case Qt::OtherFocusReason:
            selectCurrentRow();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void FocusSelection::selectCurrentRow()
{
    QItemSelectionModel *selection = view.selectionModel();
    if (selection->hasSelection() || view.model()->rowCount() == 0)
        return;
    QModelIndex row = view.currentIndex();
    if (!row.isValid())
        row = view.model()->index(qMax(view.rowAt(0), 0), 0); // the top row in sight
    selection->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}
