#pragma once

#include <QAbstractTableModel>

#include <algorithm>
#include <numeric>
#include <vector>

// A table whose rows are sorted on a header click, on a sort column that it
// may share with another list. The selection follows its row through a sort.
class SortedTableModel : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    // The sort column lives here unless it is shared with another list.
    int sortColumn() const { return *m_sortColumn; }
    void shareSortColumn(int &column) { m_sortColumn = &column; }

protected:
    // Remembers the column and sorts the rows stably by `less`; `reordered`
    // runs after the rows moved, before the views hear of it.
    template <class Rows, class Less, class Then>
    void sortRows(int column, Rows &rows, Less less, Then reordered)
    {
        *m_sortColumn = column;
        std::vector<int> order(size_t(rows.size()));
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return less(rows[a], rows[b]); });

        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        std::vector<int> newRowOf(order.size());
        Rows sorted;
        sorted.reserve(rows.size());
        for (size_t i = 0; i < order.size(); ++i) {
            newRowOf[size_t(order[i])] = int(i);
            sorted.push_back(std::move(rows[order[i]]));
        }
        rows = std::move(sorted);
        reordered();

        const QModelIndexList before = persistentIndexList();
        QModelIndexList after;
        after.reserve(before.size());
        for (const QModelIndex &index : before)
            after.append(createIndex(newRowOf[size_t(index.row())], index.column()));
        changePersistentIndexList(before, after);
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }

private:
    int m_ownSortColumn = 0;
    int *m_sortColumn = &m_ownSortColumn;
};
