#include "query/rulesmodel.h"

#include "query/visibletext.h"

#include <QCoreApplication>

void RulesModel::setRules(QVector<RuleRow> rules)
{
    beginResetModel();
    m_rows = std::move(rules);
    endResetModel();
}

void RulesModel::clear()
{
    setRules({});
}

int RulesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int RulesModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant RulesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const RuleRow &r = m_rows[index.row()];
    if (role == Qt::DisplayRole)
        return visibleText(index.column() == 0 ? r.name : r.value);
    if (role == Qt::TextAlignmentRole && index.column() == 1)
        return int(Qt::AlignCenter);
    return {};
}

QVariant RulesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == 0 ? QCoreApplication::translate("MainWindow", "Rule")
                        : QCoreApplication::translate("MainWindow", "Value");
}
