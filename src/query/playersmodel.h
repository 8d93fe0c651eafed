#pragma once

#include "query/detailparse.h"

#include <QAbstractTableModel>

// The players list of the selected server: "NickName" and "Frags".
class PlayersModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    // A new reply: the list shows its players sorted by frags, highest first.
    void setPlayers(QVector<PlayerRow> players);
    void clear();
    // A click on a column header sorts again (no direction toggle).
    void sortByColumn(int column);
    const QVector<PlayerRow> &players() const { return m_rows; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QVector<PlayerRow> m_rows;
};
