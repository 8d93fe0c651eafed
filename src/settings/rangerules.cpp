#include "settings/rangerules.h"

#include <QCoreApplication>
#include <utility>

QString rangeAddError(const AddressInput &from, const AddressInput &to, const QVector<RangeRow> &rows)
{
    const QString incorrect = QCoreApplication::translate("SettingsDialog", "Incorrect IP range");
    const QString tooBig = QCoreApplication::translate("SettingsDialog", "IP range incorrect or very big");
    const auto &a = from.octets;
    const auto &b = to.octets;

    if (a[0] == 0 || b[0] == 0)
        return incorrect;
    if (a[0] != b[0] || a[1] != b[1])
        return tooBig;
    // 254, not 255: the sweep walks at most 255 blocks of 256 addresses.
    if (b[2] < a[2] || b[2] - a[2] > 254)
        return tooBig;
    if (a[2] == b[2] && b[3] < a[3])
        return incorrect;
    for (const RangeRow &row : rows) {
        if (row.from == from.text || row.to == to.text)
            return QCoreApplication::translate("SettingsDialog", "IP range exist");
    }
    return QString();
}

bool fillBlockEnd(const AddressInput &from, std::array<int, 4> &to)
{
    if (from.text.isEmpty())
        return false;
    to = {from.octets[0], from.octets[1], from.octets[2], 255};
    return true;
}

bool deleteRange(QVector<RangeRow> &rows, int &selected)
{
    if (selected < 0 || selected >= rows.size())
        return false;
    const int next = selected > 0 ? selected - 1 : 0;
    rows.removeAt(selected);
    selected = rows.isEmpty() ? -1 : next;
    return true;
}

bool moveRangeUp(QVector<RangeRow> &rows, int &selected)
{
    if (rows.size() < 2 || selected < 1 || selected >= rows.size())
        return false;
    std::swap(rows[selected], rows[selected - 1]);
    --selected;
    return true;
}

bool moveRangeDown(QVector<RangeRow> &rows, int &selected)
{
    if (rows.size() < 2 || selected < 0 || selected >= rows.size() - 1)
        return false;
    std::swap(rows[selected], rows[selected + 1]);
    ++selected;
    return true;
}
