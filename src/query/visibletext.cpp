#include "query/visibletext.h"

#include <algorithm>

namespace {

bool isControl(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

} // namespace

QString visibleText(const QString &text)
{
    const char16_t *begin = reinterpret_cast<const char16_t *>(text.constData());
    const char16_t *end = begin + text.size();
    const char16_t *first = std::find_if(begin, end, isControl);
    if (first == end)
        return text; // the usual case: shared, not copied
    QString shown = text;
    for (qsizetype i = first - begin; i < shown.size(); ++i) {
        if (isControl(shown[i].unicode()))
            shown[i] = QChar::ReplacementCharacter;
    }
    return shown;
}
