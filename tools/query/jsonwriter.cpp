#include "jsonwriter.h"

namespace {

constexpr char Hex[] = "0123456789abcdef";

void appendUnicodeEscape(QByteArray &out, char16_t c)
{
    const char escape[] = {'\\', 'u', Hex[(c >> 12) & 0xF], Hex[(c >> 8) & 0xF], Hex[(c >> 4) & 0xF], Hex[c & 0xF]};
    out.append(escape, sizeof escape);
}

} // namespace

void appendJsonString(QByteArray &out, QStringView text)
{
    out.append('"');
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x20 && c < 0x80 && c != u'"' && c != u'\\') {
            out.append(char(c));
            continue;
        }
        switch (c) {
        case u'"': out.append("\\\""); continue;
        case u'\\': out.append("\\\\"); continue;
        case u'\b': out.append("\\b"); continue;
        case u'\f': out.append("\\f"); continue;
        case u'\n': out.append("\\n"); continue;
        case u'\r': out.append("\\r"); continue;
        case u'\t': out.append("\\t"); continue;
        default: break;
        }
        if (c < 0x20) {
            appendUnicodeEscape(out, c);
        } else if (c < 0x800) {
            out.append(char(0xC0 | (c >> 6)));
            out.append(char(0x80 | (c & 0x3F)));
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
            const char32_t u = QChar::surrogateToUcs4(c, text[++i].unicode());
            out.append(char(0xF0 | (u >> 18)));
            out.append(char(0x80 | ((u >> 12) & 0x3F)));
            out.append(char(0x80 | ((u >> 6) & 0x3F)));
            out.append(char(0x80 | (u & 0x3F)));
        } else if (QChar::isSurrogate(c)) {
            // A lone half of a pair has no UTF-8 form.
            appendUnicodeEscape(out, c);
        } else {
            out.append(char(0xE0 | (c >> 12)));
            out.append(char(0x80 | ((c >> 6) & 0x3F)));
            out.append(char(0x80 | (c & 0x3F)));
        }
    }
    out.append('"');
}

void JsonWriter::beforeValue()
{
    if (afterKey) {
        afterKey = false;
        return;
    }
    if (!firstInLevel.empty()) {
        if (!firstInLevel.back())
            out.append(',');
        firstInLevel.back() = false;
    }
}

void JsonWriter::beginObject()
{
    beforeValue();
    out.append('{');
    firstInLevel.push_back(true);
}

void JsonWriter::endObject()
{
    firstInLevel.pop_back();
    out.append('}');
}

void JsonWriter::beginArray()
{
    beforeValue();
    out.append('[');
    firstInLevel.push_back(true);
}

void JsonWriter::endArray()
{
    firstInLevel.pop_back();
    out.append(']');
}

void JsonWriter::key(const char *name)
{
    beforeValue();
    out.append('"').append(name).append("\":");
    afterKey = true;
}

void JsonWriter::value(const QString &text)
{
    beforeValue();
    appendJsonString(out, text);
}

void JsonWriter::value(qint64 number)
{
    beforeValue();
    out.append(QByteArray::number(number));
}

void JsonWriter::null()
{
    beforeValue();
    out.append("null");
}

void JsonWriter::field(const char *name, std::optional<qint64> number)
{
    key(name);
    if (number)
        value(*number);
    else
        null();
}
