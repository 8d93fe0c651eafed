#pragma once

#include "settings/settingsmodel.h"

#include <QString>
#include <QVector>
#include <array>

// What an address editor holds: its four octets and its text (empty until the
// user or the program first changed an octet).
struct AddressInput
{
    std::array<int, 4> octets{};
    QString text;
};

// The message that refuses a new range from `from` to `to`, or an empty string
// when the range may be appended to `rows`. Both addresses must share their
// first two octets, the third may rise by 254 at most, and no row may already
// start at `from` or end at `to`.
QString rangeAddError(const AddressInput &from, const AddressInput &to, const QVector<RangeRow> &rows);

// The octets the "To:" editor takes from "From:" for a whole last block
// (a.b.c.255), or nothing when "From:" is still empty.
bool fillBlockEnd(const AddressInput &from, std::array<int, 4> &to);

// List edits keyed on the selected row (-1 for none). Each returns false and
// changes nothing when the selection does not allow it.
// Delete: afterwards the row above is selected (the new first row when the
// first was deleted), or none when the list became empty.
bool deleteRange(QVector<RangeRow> &rows, int &selected);
// Move: the selected row swaps with its neighbour and stays selected.
bool moveRangeUp(QVector<RangeRow> &rows, int &selected);
bool moveRangeDown(QVector<RangeRow> &rows, int &selected);
