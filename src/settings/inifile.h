#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVector>
#include <stdexcept>

// A write that the system refused; message() is the text shown to the user.
class IniWriteError : public std::runtime_error
{
public:
    explicit IniWriteError(const QString &message);
    QString message() const { return m_message; }

private:
    QString m_message;
};

// An INI file read and written like the Windows profile functions: names match
// without regard to case, blanks around names and values are dropped, quotes
// around a value are removed, the first matching section and key win.
// Reads see the file as it is on disk (it is parsed again when its size or time
// changes) and every write reaches the disk at once, through a temporary file
// that replaces the old one. Between beginBatch() and endBatch() the writes
// collect in memory and reach the disk together at the end.
class IniFile
{
public:
    explicit IniFile(const QString &path);

    QString path() const { return m_path; }

    QString readString(const QString &section, const QString &key, const QString &defaultValue);
    int readInteger(const QString &section, const QString &key, int defaultValue);
    bool readBool(const QString &section, const QString &key, bool defaultValue);
    // Key names in file order, as many as fit whole in the system's 16384-byte buffer.
    QStringList readSection(const QString &section);
    bool sectionExists(const QString &section);
    bool valueExists(const QString &section, const QString &key);

    // These throw IniWriteError when the file cannot be written.
    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void writeBool(const QString &section, const QString &key, bool value);
    void eraseSection(const QString &section);

    void beginBatch();
    void endBatch();

    // Integer text as the profile readers take it: optional sign, then decimal
    // digits within 32 bits, or hexadecimal after "$" or "0x" (wrapping to 32 bits).
    static bool parseInteger(QStringView text, int *value);

private:
    struct Line
    {
        QString text;  // as in the file, without its line end
        QString name;  // key name, blanks trimmed (key lines only)
        QString value; // text after '=', untrimmed (key lines only)
        bool isKey = false;
    };

    struct Section
    {
        QString header;
        QString foldedName;
        QVector<Line> lines;
        QHash<QString, int> keys; // folded key name -> its first line
        int lastKeyLine = -1;
    };

    struct Stamp
    {
        bool exists = false;
        qint64 size = 0;
        QDateTime modified;
        bool operator==(const Stamp &o) const
        {
            return exists == o.exists && size == o.size && modified == o.modified;
        }
    };

    Stamp currentStamp() const;
    void refresh();
    void parse(const QByteArray &data);
    void indexSections();
    QByteArray serialize() const;
    void changed();
    void flush();

    Section *findSection(const QString &section);
    const Line *findKey(const QString &section, const QString &key);
    Section &sectionForWrite(const QString &section);

    QString m_path;
    bool m_loaded = false;
    Stamp m_stamp;
    int m_batchDepth = 0;
    bool m_dirty = false;
    bool m_hasBom = false;
    QStringList m_preamble; // lines before the first section
    QVector<Section> m_sections;
    QHash<QString, int> m_sectionIndex; // folded name -> first section of that name
};
