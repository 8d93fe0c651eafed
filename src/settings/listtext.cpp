#include "settings/listtext.h"

#include <algorithm>

namespace {

char16_t foldUpper(char16_t c)
{
    return c >= u'a' && c <= u'z' ? char16_t(c - (u'a' - u'A')) : c;
}

} // namespace

int compareListText(const QString &ta, const QString &tb)
{
    const qsizetype n = std::min(ta.size(), tb.size());
    const QChar *pa = ta.constData();
    const QChar *pb = tb.constData();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ca = foldUpper(pa[i].unicode());
        const char16_t cb = foldUpper(pb[i].unicode());
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (ta.size() == tb.size())
        return 0;
    return ta.size() < tb.size() ? -1 : 1;
}
