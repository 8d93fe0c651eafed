#include "ui/reportlist.h"

#include <QHeaderView>
#include <QTableView>

QTableView *reportList(QWidget *parent)
{
    auto *view = new QTableView(parent);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the list rather than walking its cells.
    view->setTabKeyNavigation(false);
    view->setShowGrid(true);
    view->setWordWrap(false);
    view->setAlternatingRowColors(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setHighlightSections(false);
    view->setIconSize(QSize(16, 16));
    return view;
}
