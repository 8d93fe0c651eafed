#pragma once

#include "query/detailparse.h"

#include <QAbstractTableModel>

// The rules list of the selected server: "Rule" and "Value", in reply order.
class RulesModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRules(QVector<RuleRow> rules);
    void clear();
    const QVector<RuleRow> &rules() const { return m_rows; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QVector<RuleRow> m_rows;
};
