// The INI file: any file content, then one write (or a section erase) of a
// section, key and value taken from the input.
//
// Input: two bytes giving the length of the file content, the content, then
// an operation byte and the section, key and value, separated by zero bytes.
//
// Checks: what a write is not about reads the same before and after it, for
// this file object and for a fresh one; the written value reads back whole
// (within the 2047 characters a value read keeps); writing it again changes no
// byte; a text with a line break is refused and changes nothing, also inside a
// batch; an erased section is gone and the others read as before.
#include "fuzzsupport.h"

#include "settings/inifile.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>

namespace {

QString fold(const QString &name)
{
    qsizetype begin = 0, end = name.size();
    while (begin < end && (name[begin] == u' ' || name[begin] == u'\t'))
        ++begin;
    while (end > begin && (name[end - 1] == u' ' || name[end - 1] == u'\t'))
        --end;
    return name.mid(begin, end - begin).toCaseFolded();
}

QString cutAsRead(const QString &value)
{
    constexpr int MaxValueLength = 2047;
    if (value.size() <= MaxValueLength)
        return value;
    return value.left(value[MaxValueLength - 1].isHighSurrogate() ? MaxValueLength - 1 : MaxValueLength);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every section the content may name: the text between '[' and ']' of each
// line, read as UTF-8 and as Latin-1.
QStringList sectionCandidates(const QByteArray &content, const QString &extra)
{
    QSet<QString> names{extra};
    for (const QByteArray &line : content.split('\n')) {
        for (const QByteArray &part : line.split('\r')) {
            for (const QString &text : {QString::fromUtf8(part), QString::fromLatin1(part)}) {
                const QString trimmed = text.trimmed();
                const qsizetype close = trimmed.indexOf(u']');
                if (trimmed.startsWith(u'[') && close > 0)
                    names.insert(trimmed.mid(1, close - 1));
            }
        }
    }
    return QStringList(names.begin(), names.end());
}

struct Snapshot
{
    QHash<QString, QStringList> sections;  // folded section -> key names
    QHash<QString, QString> values;        // folded section + '\n' + folded key -> value read
};

Snapshot snapshot(IniFile &ini, const QStringList &sections)
{
    Snapshot s;
    for (const QString &section : sections) {
        const QString folded = fold(section);
        if (s.sections.contains(folded))
            continue;
        const QStringList keys = ini.readSection(section);
        s.sections.insert(folded, keys);
        for (const QString &key : keys) {
            const QString id = folded + u'\n' + fold(key);
            if (!s.values.contains(id))
                s.values.insert(id, ini.readString(section, key, QStringLiteral("\x01missing")));
        }
    }
    return s;
}

// What a change may alter: nothing, one key of a section, or a whole section.
struct Change
{
    QString section;
    QString key;
    bool wholeSection = false;
    bool any = true;
};

void checkUnchanged(const Snapshot &before, const Snapshot &after, const Change &change)
{
    const QString section = fold(change.section);
    const QString key = section + u'\n' + fold(change.key);
    for (auto it = before.sections.begin(); it != before.sections.end(); ++it) {
        if (!change.any || it.key() != section)
            FUZZ_CHECK(after.sections.value(it.key()) == it.value());
    }
    for (auto it = before.values.begin(); it != before.values.end(); ++it) {
        const bool changed = change.any && (change.wholeSection ? it.key().startsWith(section + u'\n') : it.key() == key);
        if (!changed)
            FUZZ_CHECK(after.values.value(it.key(), QStringLiteral("\x02gone")) == it.value());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    ensureApplication();
    // In memory where the system has a place for it: every write syncs the file.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/vantor-fuzz-XXXXXX")
                                                                          : QDir::tempPath() + QStringLiteral("/vantor-fuzz-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("vantor.ini"));

    const size_t contentSize = std::min<size_t>(size_t(data[0] | data[1] << 8), size - 2);
    const QByteArray content = bytesOf(data + 2, contentSize);
    const QByteArray rest = bytesOf(data + 2 + contentSize, size - 2 - contentSize);
    const int operation = rest.isEmpty() ? 0 : quint8(rest[0]);
    const QList<QByteArray> fields = rest.mid(1).split('\0');
    // A section name ends at its first ']' when read, so none is written with one.
    const QString section = QString::fromUtf8(fields.value(0)).remove(u']');
    const QString key = QString::fromUtf8(fields.value(1));
    const QString value = QString::fromUtf8(fields.value(2));

    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(content) == content.size());
    }
    const QStringList sections = sectionCandidates(content, section);
    IniFile ini(path);
    const Snapshot before = snapshot(ini, sections);

    if (operation % 4 == 3) {
        ini.eraseSection(section);
        FUZZ_CHECK(ini.readSection(section).isEmpty() && !ini.sectionExists(section));
        IniFile fresh(path);
        checkUnchanged(before, snapshot(fresh, sections), Change{section, QString(), true});
        return 0;
    }

    if (!IniFile::storable(section) || !IniFile::storable(key) || !IniFile::storable(value)) {
        bool refused = false;
        try {
            ini.writeString(section, key, value);
        } catch (const IniWriteError &) {
            refused = true;
        }
        FUZZ_CHECK(refused);
        ini.beginBatch();
        ini.writeString(QStringLiteral("Batch"), QStringLiteral("k"), QStringLiteral("v"));
        try {
            ini.writeString(section, key, value);
            FUZZ_CHECK(false);
        } catch (const IniWriteError &) {
        }
        ini.endBatch();
        FUZZ_CHECK(readAll(path) == content);
        checkUnchanged(before, snapshot(ini, sections), Change{QString(), QString(), false, false});
        return 0;
    }

    ini.writeString(section, key, value);
    const QString expected = cutAsRead(value);
    FUZZ_CHECK(ini.readString(section, key, QString()) == expected);
    checkUnchanged(before, snapshot(ini, sections), Change{section, key});

    IniFile fresh(path);
    FUZZ_CHECK(fresh.readString(section, key, QString()) == expected);
    checkUnchanged(before, snapshot(fresh, sections), Change{section, key});

    const QByteArray written = readAll(path);
    fresh.writeString(section, key, value);
    FUZZ_CHECK(readAll(path) == written);
    return 0;
}
