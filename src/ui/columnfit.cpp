#include "ui/columnfit.h"

#include <algorithm>

std::vector<int> fitColumns(int available, const std::vector<ColumnSpan> &spans,
                            const std::vector<int> &growOrder)
{
    std::vector<int> widths;
    widths.reserve(spans.size());
    int left = available;
    for (const ColumnSpan &span : spans) {
        widths.push_back(span.minimum);
        left -= span.minimum;
    }
    for (size_t i = 0; i < growOrder.size() && left > 0; ++i) {
        const auto column = size_t(growOrder[i]);
        const bool last = i + 1 == growOrder.size();
        const int room = last ? left : std::min(left, spans[column].maximum - widths[column]);
        if (room > 0) {
            widths[column] += room;
            left -= room;
        }
    }
    return widths;
}

int fittedWidth(int needed, ColumnSpan range, int cap)
{
    return std::max(range.minimum, std::min(needed, std::max(cap, range.maximum)));
}
