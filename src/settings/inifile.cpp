#include "settings/inifile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
    refresh();
    Section &s = sectionForWrite(section);
    const QString name = trimBlanks(key);
    const QString foldedName = name.toCaseFolded();
    const auto found = s.keys.constFind(foldedName);
    if (found != s.keys.constEnd()) {
        Line &line = s.lines[*found];
        line.value = value;
        line.text = line.name + u'=' + value;
    } else {
        // Every key line sits at or before lastKeyLine, so inserting behind it
        // leaves the indexes of the other keys valid.
        const int at = s.lastKeyLine + 1;
        s.lines.insert(at, Line{name + u'=' + value, name, value, true});
        s.keys.insert(foldedName, at);
        s.lastKeyLine = at;
    }
    changed();
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
    QByteArrayView bytes(data);
    m_hasBom = bytes.startsWith(utf8Bom);
    if (m_hasBom)
        bytes = bytes.sliced(utf8Bom.size());
    const QString text = QString::fromUtf8(bytes);
    QStringList rawLines = text.split(u'\n');
    if (rawLines.last().isEmpty())
        rawLines.removeLast(); // the end of the last line, or an empty file

    for (QString &raw : rawLines) {
        if (raw.endsWith(u'\r'))
            raw.chop(1);
        const QString trimmed = trimBlanks(raw);
        const bool bracket = trimmed.startsWith(u'[');
        if (bracket) {
            const int close = trimmed.indexOf(u']');
            if (close > 0) {
                Section section;
                section.header = raw;
                section.foldedName = folded(QStringView(trimmed).mid(1, close - 1));
                m_sections.append(section);
                continue;
            }
        }
        if (m_sections.isEmpty()) {
            m_preamble.append(raw);
            continue;
        }
        Line line;
        line.text = raw;
        // Blank lines, comments and broken headers are kept but never match.
        if (!trimmed.isEmpty() && !trimmed.startsWith(u';') && !bracket) {
            const int eq = raw.indexOf(u'=');
            line.isKey = true;
            line.name = trimBlanks(eq < 0 ? QStringView(raw) : QStringView(raw).left(eq));
            if (eq >= 0)
                line.value = raw.mid(eq + 1);
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
    QString text;
    for (const QString &line : m_preamble)
        text += line + u'\n';
    for (const Section &s : m_sections) {
        text += s.header + u'\n';
        for (const Line &line : s.lines)
            text += line.text + u'\n';
    }
    return (m_hasBom ? utf8Bom : QByteArray()) + text.toUtf8();
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
    // A new file holds the last password: its owner alone may read it.
    if (ok && creating)
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
        if (last.lines.isEmpty() || !trimBlanks(last.lines.last().text).isEmpty())
            last.lines.append(Line());
    } else if (!m_preamble.isEmpty() && !trimBlanks(m_preamble.last()).isEmpty()) {
        m_preamble.append(QString());
    }
    Section s;
    s.header = u'[' + trimBlanks(section) + u']';
    s.foldedName = folded(section);
    m_sections.append(s);
    m_sectionIndex.insert(s.foldedName, m_sections.size() - 1);
    return m_sections.last();
}
