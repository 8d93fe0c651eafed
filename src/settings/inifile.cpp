#include "settings/inifile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>

namespace {

// The profile readers hand back at most this many characters of a value.
constexpr int MaxValueLength = 2047;
// The buffer through which a section's key names are read.
constexpr int SectionBufferSize = 16384;

const QByteArray utf8Bom("\xEF\xBB\xBF");

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QString trimBlanks(QStringView s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && isBlank(s[begin]))
        ++begin;
    while (end > begin && isBlank(s[end - 1]))
        --end;
    return s.mid(begin, end - begin).toString();
}

QString folded(QStringView name)
{
    return trimBlanks(name).toCaseFolded();
}

// A key that a plain "key=value" line would cut at its '=' or take for a
// section header or a comment.
bool keyNeedsQuotes(QStringView name)
{
    return name.contains(u'=') || name.startsWith(u'[') || name.startsWith(u';') || name.startsWith(u'"');
}

QString keyAsWritten(const QString &name)
{
    if (!keyNeedsQuotes(name))
        return name;
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

// A value whose blanks or quotes at the ends the reader would drop.
QString valueAsWritten(const QString &value)
{
    const bool blankEnd = !value.isEmpty() && (isBlank(value.front()) || isBlank(value.back()));
    const bool quoted = value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'')
        && value.back() == value.front();
    return blankEnd || quoted ? u'"' + value + u'"' : value;
}

// The name of a line written by keyAsWritten: the quoted text and the index of
// the '=' after it; nothing when the line is no such line.
bool quotedKey(QStringView line, QString *name, qsizetype *equals)
{
    qsizetype i = 0;
    while (i < line.size() && isBlank(line[i]))
        ++i;
    if (i == line.size() || line[i] != u'"')
        return false;
    QString text;
    for (++i; i < line.size(); ++i) {
        if (line[i] != u'"') {
            text += line[i];
        } else if (i + 1 < line.size() && line[i + 1] == u'"') {
            text += u'"';
            ++i;
        } else {
            break;
        }
    }
    if (i == line.size())
        return false; // never closed
    ++i;
    while (i < line.size() && isBlank(line[i]))
        ++i;
    text = trimBlanks(text);
    // Only names that need the quotes were written with them; any other line
    // reads the way it always did.
    if (i == line.size() || line[i] != u'=' || !keyNeedsQuotes(text))
        return false;
    *name = text;
    *equals = i;
    return true;
}

// A line as text: UTF-8 as written, or Latin-1 for a line that is not UTF-8
// (a path saved by another program), so no byte reads as a replacement character.
QString decodeLine(QByteArrayView raw)
{
    bool ascii = true;
    for (const char c : raw)
        ascii = ascii && uchar(c) < 0x80;
    if (ascii)
        return QString::fromLatin1(raw);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString text = utf8(raw);
    return utf8.hasError() ? QString::fromLatin1(raw) : text;
}

QString valueAsRead(QStringView raw)
{
    QString v = trimBlanks(raw);
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    if (v.size() > MaxValueLength) {
        // Never leave half of a surrogate pair at the end.
        const int keep = v[MaxValueLength - 1].isHighSurrogate() ? MaxValueLength - 1 : MaxValueLength;
        v.truncate(keep);
    }
    return v;
}

int digitValue(QChar c, int base)
{
    const char16_t u = c.unicode();
    int d = 99;
    if (u >= u'0' && u <= u'9')
        d = u - u'0';
    else if (u >= u'a' && u <= u'f')
        d = u - u'a' + 10;
    else if (u >= u'A' && u <= u'F')
        d = u - u'A' + 10;
    return d < base ? d : -1;
}

} // namespace

IniWriteError::IniWriteError(const QString &message)
    : std::runtime_error(message.toStdString()), m_message(message)
{
}

IniFile::IniFile(const QString &path)
    : m_path(path)
{
}

bool IniFile::parseInteger(QStringView text, int *value)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        return false;

    // Hexadecimal takes any 32-bit pattern; decimal must fit a signed 32-bit value.
    const quint64 limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    quint64 magnitude = 0;
    for (; i < text.size(); ++i) {
        const int d = digitValue(text[i], base);
        if (d < 0)
            return false;
        magnitude = magnitude * base + d;
        if (magnitude > limit)
            return false;
    }
    quint32 bits = quint32(magnitude);
    if (negative)
        bits = 0u - bits;
    *value = qint32(bits);
    return true;
}

bool IniFile::storable(QStringView text)
{
    return !text.contains(u'\n') && !text.contains(u'\r');
}

QString IniFile::readString(const QString &section, const QString &key, const QString &defaultValue)
{
    refresh();
    const Line *line = findKey(section, key);
    return line ? valueAsRead(line->value) : defaultValue;
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue)
{
    int value = 0;
    return parseInteger(readString(section, key, QString()), &value) ? value : defaultValue;
}

bool IniFile::readBool(const QString &section, const QString &key, bool defaultValue)
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

QStringList IniFile::readSection(const QString &section)
{
    refresh();
    QStringList names;
    const Section *s = findSection(section);
    if (!s)
        return names;
    int used = 1; // the zero that ends the list
    for (const Line &line : s->lines) {
        // An empty name would read as the end of the list.
        if (!line.isKey || line.name.isEmpty())
            continue;
        const int needed = int(line.name.toUtf8().size()) + 1;
        if (used + needed > SectionBufferSize)
            break;
        used += needed;
        names.append(line.name);
    }
    return names;
}

bool IniFile::sectionExists(const QString &section)
{
    refresh();
    return findSection(section) != nullptr;
}

bool IniFile::valueExists(const QString &section, const QString &key)
{
    refresh();
    return findKey(section, key) != nullptr;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    if (!storable(section))
        refuse(QStringLiteral("a section name"));
    if (!storable(key))
        refuse(QStringLiteral("a key name in [%1]").arg(trimBlanks(section)));
    if (!storable(value))
        refuse(QStringLiteral("the value of %1 in [%2]").arg(trimBlanks(key), trimBlanks(section)));
    refresh();
    Section &s = sectionForWrite(section);
    const QString name = trimBlanks(key);
    const QString foldedName = name.toCaseFolded();
    const QString written = valueAsWritten(value);
    const auto found = s.keys.constFind(foldedName);
    if (found != s.keys.constEnd()) {
        Line &line = s.lines[*found];
        line.raw = (keyAsWritten(line.name) + u'=' + written).toUtf8();
        line.value = written;
    } else {
        // Every key line sits at or before lastKeyLine, so inserting behind it
        // leaves the indexes of the other keys valid.
        const int at = s.lastKeyLine + 1;
        Line line = newLine(keyAsWritten(name) + u'=' + written);
        line.name = name;
        line.value = written;
        line.isKey = true;
        s.lines.insert(at, line);
        s.keys.insert(foldedName, at);
        s.lastKeyLine = at;
    }
    changed();
}

void IniFile::refuse(const QString &what)
{
    // Nothing of a batch that held this write reaches the disk.
    if (m_batchDepth > 0) {
        m_batchDepth = 0;
        m_dirty = false;
        m_loaded = false;
    }
    throw IniWriteError(QStringLiteral("Unable to write to %1: %2 holds a line break, which the file cannot store.")
                            .arg(m_path, what));
}

IniFile::Line IniFile::newLine(const QString &text) const
{
    Line line;
    line.raw = text.toUtf8();
    line.end = m_newline;
    return line;
}

void IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::eraseSection(const QString &section)
{
    refresh();
    const QString name = folded(section);
    const auto before = m_sections.size();
    m_sections.erase(std::remove_if(m_sections.begin(), m_sections.end(),
                                    [&name](const Section &s) { return s.foldedName == name; }),
                     m_sections.end());
    if (m_sections.size() == before)
        return;
    m_sectionIndex.clear();
    for (int i = m_sections.size() - 1; i >= 0; --i)
        m_sectionIndex.insert(m_sections[i].foldedName, i);
    changed();
}

void IniFile::beginBatch()
{
    if (m_batchDepth == 0)
        refresh();
    ++m_batchDepth;
}

void IniFile::endBatch()
{
    if (m_batchDepth == 0 || --m_batchDepth > 0 || !m_dirty)
        return;
    m_dirty = false;
    flush();
}

IniFile::Stamp IniFile::currentStamp() const
{
    const QFileInfo info(m_path);
    Stamp stamp;
    stamp.exists = info.exists();
    if (stamp.exists) {
        stamp.size = info.size();
        stamp.modified = info.lastModified();
    }
    return stamp;
}

void IniFile::refresh()
{
    // Inside a batch the copy in memory is the file, pending writes included.
    if (m_loaded && m_batchDepth > 0)
        return;
    const Stamp now = currentStamp();
    if (m_loaded && now == m_stamp)
        return;
    QByteArray data;
    QFile file(m_path);
    if (now.exists && file.open(QIODevice::ReadOnly))
        data = file.readAll();
    parse(data);
    m_stamp = now;
    m_loaded = true;
}

void IniFile::parse(const QByteArray &data)
{
    m_preamble.clear();
    m_sections.clear();
    m_newline = "\n";
    QByteArrayView bytes(data);
    m_hasBom = bytes.startsWith(utf8Bom);
    if (m_hasBom)
        bytes = bytes.sliced(utf8Bom.size());

    bool newlineSeen = false;
    qsizetype begin = 0;
    while (begin < bytes.size()) {
        qsizetype end = begin;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        qsizetype next = end;
        if (next < bytes.size())
            next += bytes[next] == '\r' && next + 1 < bytes.size() && bytes[next + 1] == '\n' ? 2 : 1;
        Line line;
        line.raw = bytes.sliced(begin, end - begin).toByteArray();
        line.end = bytes.sliced(end, next - end).toByteArray();
        begin = next;
        if (!newlineSeen && !line.end.isEmpty()) {
            m_newline = line.end;
            newlineSeen = true;
        }

        const QString text = decodeLine(line.raw);
        const QString trimmed = trimBlanks(text);
        const bool bracket = trimmed.startsWith(u'[');
        if (bracket) {
            const int close = trimmed.indexOf(u']');
            if (close > 0) {
                Section section;
                section.header = line;
                section.foldedName = folded(QStringView(trimmed).mid(1, close - 1));
                m_sections.append(section);
                continue;
            }
        }
        if (m_sections.isEmpty()) {
            m_preamble.append(line);
            continue;
        }
        // Blank lines, comments and broken headers are kept but never match.
        if (!trimmed.isEmpty() && !trimmed.startsWith(u';') && !bracket) {
            line.isKey = true;
            qsizetype eq = -1;
            if (!quotedKey(text, &line.name, &eq)) {
                eq = text.indexOf(u'=');
                line.name = trimBlanks(eq < 0 ? QStringView(text) : QStringView(text).left(eq));
            }
            if (eq >= 0)
                line.value = text.mid(eq + 1);
        }
        m_sections.last().lines.append(line);
    }
    indexSections();
}

void IniFile::indexSections()
{
    m_sectionIndex.clear();
    for (int i = m_sections.size() - 1; i >= 0; --i) {
        Section &s = m_sections[i];
        m_sectionIndex.insert(s.foldedName, i);
        s.keys.clear();
        s.lastKeyLine = -1;
        for (int k = s.lines.size() - 1; k >= 0; --k) {
            if (!s.lines[k].isKey)
                continue;
            s.keys.insert(s.lines[k].name.toCaseFolded(), k);
            if (s.lastKeyLine < 0)
                s.lastKeyLine = k;
        }
    }
}

QByteArray IniFile::serialize() const
{
    QByteArray out = m_hasBom ? utf8Bom : QByteArray();
    const Line *previous = nullptr;
    const auto put = [&](const Line &line) {
        // A last line without its end gets one only when another line follows.
        if (previous)
            out += previous->end.isEmpty() ? m_newline : previous->end;
        out += line.raw;
        previous = &line;
    };
    for (const Line &line : m_preamble)
        put(line);
    for (const Section &s : m_sections) {
        put(s.header);
        for (const Line &line : s.lines)
            put(line);
    }
    if (previous)
        out += previous->end;
    return out;
}

void IniFile::changed()
{
    if (m_batchDepth > 0)
        m_dirty = true;
    else
        flush();
}

void IniFile::flush()
{
    const QByteArray data = serialize();
    const bool creating = !QFileInfo::exists(m_path);
    // The first save of a user's settings may come before their folder exists.
    bool ok = !creating || QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    ok = ok && file.open(QIODevice::WriteOnly);
    // A new file may come to hold the last password; its owner alone may read
    // it. An existing file keeps the mode its owner gave it until it holds one.
    if (ok && (creating || holdsSecret()))
        ok = file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    ok = ok && file.write(data) == data.size();
    ok = ok && file.commit();
    if (!ok) {
        // Reads must show the file as it is, not the write that failed.
        m_loaded = false;
        throw IniWriteError(QStringLiteral("Unable to write to %1").arg(m_path));
    }
    m_stamp = currentStamp();
}

void IniFile::protectValue(const QString &section, const QString &key)
{
    m_secretSection = section;
    m_secretKey = key;
}

bool IniFile::holdsSecret()
{
    const Line *line = m_secretKey.isEmpty() ? nullptr : findKey(m_secretSection, m_secretKey);
    return line && !valueAsRead(line->value).isEmpty();
}

IniFile::Section *IniFile::findSection(const QString &section)
{
    const int index = m_sectionIndex.value(folded(section), -1);
    return index < 0 ? nullptr : &m_sections[index];
}

const IniFile::Line *IniFile::findKey(const QString &section, const QString &key)
{
    const Section *s = findSection(section);
    if (!s)
        return nullptr;
    const int index = s->keys.value(folded(key), -1);
    return index < 0 ? nullptr : &s->lines[index];
}

IniFile::Section &IniFile::sectionForWrite(const QString &section)
{
    if (Section *s = findSection(section))
        return *s;
    // Keep one blank line between the sections.
    if (!m_sections.isEmpty()) {
        Section &last = m_sections.last();
        if (last.lines.isEmpty() || !trimBlanks(decodeLine(last.lines.last().raw)).isEmpty())
            last.lines.append(newLine(QString()));
    } else if (!m_preamble.isEmpty() && !trimBlanks(decodeLine(m_preamble.last().raw)).isEmpty()) {
        m_preamble.append(newLine(QString()));
    }
    Section s;
    s.header = newLine(u'[' + trimBlanks(section) + u']');
    s.foldedName = folded(section);
    m_sections.append(s);
    m_sectionIndex.insert(s.foldedName, m_sections.size() - 1);
    return m_sections.last();
}
