#pragma once

#include <vector>

// The width range of one list column. A fixed column has minimum == maximum.
struct ColumnSpan
{
    int minimum = 0;
    int maximum = 0;
};

// Shares the width of a list among its columns: every column gets its
// minimum, then what is left goes to the columns in the order of `growOrder`,
// each up to its maximum; the last column of `growOrder` takes all that
// remains (it has no maximum there). A column may come twice: first up to its
// maximum, then last. When the minimums do not fit, the columns keep their
// minimums and the list scrolls.
std::vector<int> fitColumns(int available, const std::vector<ColumnSpan> &spans,
                            const std::vector<int> &growOrder);

// The fixed width of a column whose widest text needs `needed` pixels: the
// range's minimum at least, the needed width within the range, and past the
// range's maximum only when the text would not fit otherwise, never past `cap`
// (text longer than that is elided).
int fittedWidth(int needed, ColumnSpan range, int cap);
