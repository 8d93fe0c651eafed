#pragma once

#include <QTabWidget>

class PlayersModel;
class RulesModel;

// The selected server's details beside the list: its players (sorted by a
// click on a column) and its rules.
class DetailPages : public QTabWidget
{
    Q_OBJECT

public:
    DetailPages(PlayersModel &players, RulesModel &rules, QWidget *parent = nullptr);
};
