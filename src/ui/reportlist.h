#pragma once

class QTableView;
class QWidget;

// A list of whole rows, one selected at a time, read only: the server list
// and the two detail lists.
QTableView *reportList(QWidget *parent);
