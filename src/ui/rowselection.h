#pragma once

class QTableView;

// The selected row of a single-selection list, or -1 when none is.
int selectedRow(const QTableView &view);
// Selects that row; a row the list does not have leaves none selected.
void selectRowOrNone(QTableView &view, int row);
