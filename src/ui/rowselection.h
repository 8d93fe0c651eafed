#pragma once

class QTableView;

// Rows are those of the list's own model, beneath any proxy model the view
// shows it through (the server list's filter): what the logic reads is the
// row the user sees selected.

// The selected row of a single-selection list, or -1 when none is.
int selectedRow(const QTableView &view);
// Selects that row; a row the list does not have, or does not show, leaves none selected.
void selectRowOrNone(QTableView &view, int row);
