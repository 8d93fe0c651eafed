#pragma once

#include <QObject>

class QTableView;

// The keyboard's way to a row of a single-selection list. Reached with Tab or
// sent there by another control while nothing is selected, the list selects
// its current row, or else its first one, so the row's details load and Enter
// or Play act on it at once. The arrow keys alone could not select the only
// row a filter leaves: there is nowhere to move.
class FocusSelection : public QObject
{
    Q_OBJECT

public:
    explicit FocusSelection(QTableView &view);

public slots:
    // Sends the keyboard to the list (Enter in the filter's text).
    void takeFocus();
    // The filter changed what the list shows: a single row left is selected
    // while the list has the focus.
    void rowsFiltered();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void selectCurrentRow();

    QTableView &view;
};
