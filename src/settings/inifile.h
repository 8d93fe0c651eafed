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
//
// A write changes only the lines it is about: every other line goes back to the
// disk byte for byte, line end and code page included, so what reads the same
// before a write reads the same after it. Lines end at LF, CR LF or a lone CR;
// a line that is not UTF-8 is read as Latin-1.
//
// What a plain "key=value" line cannot hold is written so that it reads back
// whole: a value with blanks at either end, or enclosed in quotes, is written
// in double quotes; a key holding "=" or starting with "[", ";" or a double
// quote (a parameter line such as "+map=de_dust2") is written in double
// quotes, inner ones doubled: "+map=de_dust2"=. Such a line is read that way
// only when the name between the quotes needs them, so a file written before
// reads as it always did. Line breaks cannot be stored at all: a write of a
// section, key or value holding one is refused with IniWriteError and changes
// nothing; inside a batch it drops the whole batch, so a save reaches the disk
// whole or not at all.
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

    // These throw IniWriteError when the file cannot be written or the text
    // holds a line break.
    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void writeBool(const QString &section, const QString &key, bool value);
    void eraseSection(const QString &section);

    void beginBatch();
    void endBatch();

    // Whenever the file holds a value of this key that is not empty, a write
    // leaves the file readable by its owner alone, whoever made it.
    void protectValue(const QString &section, const QString &key);

    // Integer text as the profile readers take it: optional sign, then decimal
    // digits within 32 bits, or hexadecimal after "$" or "0x" (wrapping to 32 bits).
    static bool parseInteger(QStringView text, int *value);

    // Whether a text can be stored: no CR, no LF.
    static bool storable(QStringView text);

private:
    struct Line
    {
        QByteArray raw; // as in the file, without its line end
        QByteArray end; // the line end as in the file; empty for a last line without one
        QString name;   // key name, blanks trimmed and quotes removed (key lines only)
        QString value;  // text after '=', untrimmed (key lines only)
        bool isKey = false;
    };

    struct Section
    {
        Line header;
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
    void refuse(const QString &what);
    bool holdsSecret();
    Line newLine(const QString &text) const;

    Section *findSection(const QString &section);
    const Line *findKey(const QString &section, const QString &key);
    Section &sectionForWrite(const QString &section);

    QString m_path;
    QString m_secretSection;
    QString m_secretKey;
    bool m_loaded = false;
    Stamp m_stamp;
    int m_batchDepth = 0;
    bool m_dirty = false;
    bool m_hasBom = false;
    QByteArray m_newline = "\n"; // for new lines: the end of the file's first line
    QVector<Line> m_preamble;     // lines before the first section
    QVector<Section> m_sections;
    QHash<QString, int> m_sectionIndex; // folded name -> first section of that name
};
