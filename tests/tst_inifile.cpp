#include "settings/inifile.h"
#include "settings/inilocation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(data);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

const QString Missing = QStringLiteral("<default>");

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); m_path = m_dir.filePath(QStringLiteral("vantor.ini")); }
    void cleanup() { QFile::remove(m_path); }

    void readString_data();
    void readString();
    void readInteger_data();
    void readInteger();
    void readSection_data();
    void readSection();
    void readSectionBufferLimit_data();
    void readSectionBufferLimit();
    void writes_data();
    void writes();
    void permissions();
    void writeReplacesFileWhole();
    void writeFailure_data();
    void writeFailure();
    void rereadsAfterOutsideChange_data();
    void rereadsAfterOutsideChange();
    void batchWritesOnceAtEnd();
    void unrelatedWriteKeepsEveryLine_data();
    void unrelatedWriteKeepsEveryLine();
    void writtenTextReadsBackWhole_data();
    void writtenTextReadsBackWhole();
    void lineBreaksAreRefused_data();
    void lineBreaksAreRefused();
    void location_data();
    void location();
    void installedFolders_data();
    void installedFolders();

private:
    QTemporaryDir m_dir;
    QString m_path;
};

void TestIniFile::readString_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QByteArray basic = "[Settings]\nCSPort=27016\n";
    QTest::newRow("plain") << basic << "Settings" << "CSPort" << "27016";
    QTest::newRow("names ignore case") << basic << "SETTINGS" << "csport" << "27016";
    QTest::newRow("blanks around names") << QByteArray("  [ Main ]\n \t Key \t= v\n") << "main" << " KEY" << "v";
    QTest::newRow("blanks around value") << QByteArray("[A]\nk= \t a b \t\n") << "A" << "k" << "a b";
    QTest::newRow("double quotes") << QByteArray("[A]\nk=\" a \"\n") << "A" << "k" << " a ";
    QTest::newRow("single quotes") << QByteArray("[A]\nk='x'\n") << "A" << "k" << "x";
    QTest::newRow("unmatched quotes") << QByteArray("[A]\nk=\"x'\n") << "A" << "k" << "\"x'";
    QTest::newRow("empty value is no default") << QByteArray("[A]\nk=\n") << "A" << "k" << "";
    QTest::newRow("line without equals") << QByteArray("[A]\nk\n") << "A" << "k" << "";
    QTest::newRow("missing key") << basic << "Settings" << "Width" << Missing;
    QTest::newRow("missing section") << basic << "Games" << "CSPort" << Missing;
    QTest::newRow("first section wins") << QByteArray("[A]\nk=1\n[a]\nk=2\nj=3\n") << "A" << "k" << "1";
    QTest::newRow("first key wins") << QByteArray("[A]\nk=1\nK=2\n") << "A" << "k" << "1";
    QTest::newRow("comment never matches") << QByteArray("[A]\n;k=1\n") << "A" << ";k" << Missing;
    QTest::newRow("key before any section") << QByteArray("k=1\n[A]\n") << "A" << "k" << Missing;
    QTest::newRow("CRLF line ends") << QByteArray("[A]\r\nk=v\r\nj=w\r\n") << "A" << "k" << "v";
    QTest::newRow("UTF-8") << QByteArray("[A]\nk=caf\xC3\xA9\n") << "A" << "k" << QStringLiteral("caf\u00E9");
    QTest::newRow("cut to 2047") << "[A]\nk=" + QByteArray(3000, 'x') + "\n" << "A" << "k" << QString(2047, u'x');
    QTest::newRow("cut after unquoting")
        << "[A]\nk=\"" + QByteArray(2100, 'y') + "\"\n" << "A" << "k" << QString(2047, u'y');
}

void TestIniFile::readString()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    if (!content.isEmpty())
        writeFile(m_path, content);
    IniFile ini(m_path);
    QCOMPARE(ini.readString(section, key, Missing), expected);
}

void TestIniFile::readInteger_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("expected");

    // The default is 7 throughout.
    QTest::newRow("decimal") << QByteArray("k=12") << 12;
    QTest::newRow("negative") << QByteArray("k=-5") << -5;
    QTest::newRow("max") << QByteArray("k=2147483647") << 2147483647;
    QTest::newRow("min") << QByteArray("k=-2147483648") << int(-2147483647 - 1);
    QTest::newRow("above max") << QByteArray("k=2147483648") << 7;
    QTest::newRow("below min") << QByteArray("k=-2147483649") << 7;
    QTest::newRow("dollar hex") << QByteArray("k=$FF") << 255;
    QTest::newRow("0x hex") << QByteArray("k=0x1f") << 31;
    QTest::newRow("hex wraps to negative") << QByteArray("k=$FFFFFFFF") << -1;
    QTest::newRow("hex beyond 32 bits") << QByteArray("k=$100000000") << 7;
    QTest::newRow("negative hex") << QByteArray("k=-$10") << -16;
    QTest::newRow("bare dollar") << QByteArray("k=$") << 7;
    QTest::newRow("trailing text") << QByteArray("k=12abc") << 7;
    QTest::newRow("bad hex digit") << QByteArray("k=$1G") << 7;
    QTest::newRow("empty") << QByteArray("k=") << 7;
    QTest::newRow("missing") << QByteArray("other=1") << 7;
}

void TestIniFile::readInteger()
{
    QFETCH(QByteArray, line);
    QFETCH(int, expected);
    writeFile(m_path, "[A]\n" + line + "\n");
    IniFile ini(m_path);
    QCOMPARE(ini.readInteger(QStringLiteral("A"), QStringLiteral("k"), 7), expected);
}

void TestIniFile::readSection_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("file order, names as written")
        << QByteArray("[P]\n-win=\n -Console =x\n-freq 75=\n") << QStringList{"-win", "-Console", "-freq 75"};
    QTest::newRow("lines without equals are keys") << QByteArray("[P]\n-full\n-win=\n") << QStringList{"-full", "-win"};
    QTest::newRow("comments and blank lines skipped")
        << QByteArray("[P]\n; note\n\n-a=\n") << QStringList{"-a"};
    QTest::newRow("only the first copy of the section")
        << QByteArray("[P]\na=\n[Q]\nq=\n[p]\nb=\n") << QStringList{"a"};
    QTest::newRow("missing section") << QByteArray("[Q]\nq=\n") << QStringList();
    // Keys that need quotes are written in them; other lines read as they always did.
    QTest::newRow("quoted key with =") << QByteArray("[P]\n\"+map=de_dust2\"=\n") << QStringList{"+map=de_dust2"};
    QTest::newRow("quoted key, doubled quotes")
        << QByteArray("[P]\n\"+hostname=\"\"a b\"\"\"=\n\"\"\"x\"=\n") << QStringList{"+hostname=\"a b\"", "\"x"};
    QTest::newRow("old line with two equals signs") << QByteArray("[P]\n+map=de_dust2=\n") << QStringList{"+map"};
    QTest::newRow("old key in quotes") << QByteArray("[P]\n\"-game cstrike\"=\n") << QStringList{"\"-game cstrike\""};
    QTest::newRow("old key, quote never closed") << QByteArray("[P]\n\"-a=b\n") << QStringList{"\"-a"};
    QTest::newRow("old key, text after the quote") << QByteArray("[P]\n\"a\"b=\n") << QStringList{"\"a\"b"};
}

void TestIniFile::readSection()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, expected);
    writeFile(m_path, content);
    IniFile ini(m_path);
    QCOMPARE(ini.readSection(QStringLiteral("p")), expected);
    QCOMPARE(ini.sectionExists(QStringLiteral("P")), content.startsWith("[P]"));
}

void TestIniFile::readSectionBufferLimit_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<int>("units");
    QTest::addColumn<int>("names");
    QTest::addColumn<int>("expected");

    // 43 names of 380 bytes and their zeros fill 16383 bytes; the closing zero makes 16384.
    QTest::newRow("exact fit") << "a" << 380 << 43 << 43;
    QTest::newRow("one more does not fit") << "a" << 380 << 44 << 43;
    QTest::newRow("one byte too long") << "a" << 381 << 43 << 42;
    QTest::newRow("counted in UTF-8 bytes") << QStringLiteral("\u00E9") << 190 << 44 << 43;
    QTest::newRow("short names") << "b" << 9 << 2000 << 1638;
}

void TestIniFile::readSectionBufferLimit()
{
    QFETCH(QString, unit);
    QFETCH(int, units);
    QFETCH(int, names);
    QFETCH(int, expected);
    QByteArray content = "[P]\n";
    // Each name: a four-digit number, then units of the same byte count in all.
    const int fill = units - 4 / int(unit.toUtf8().size());
    const auto nameOf = [&](int i) { return QString::number(i).rightJustified(4, u'0') + unit.repeated(fill); };
    for (int i = 0; i < names; ++i)
        content += nameOf(i).toUtf8() + "=\n";
    writeFile(m_path, content);
    IniFile ini(m_path);
    const QStringList read = ini.readSection(QStringLiteral("P"));
    QCOMPARE(read.size(), expected);
    QCOMPARE(read.constLast(), nameOf(expected - 1));
}

void TestIniFile::writes_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("new file") << QByteArray() << QStringList{"str|S|k|v", "str|S|k2|v2"} << QByteArray("[S]\nk=v\nk2=v2\n");
    QTest::newRow("key goes after the last key line")
        << QByteArray("[A]\nx=1\n; note\n\n[B]\ny=2\n") << QStringList{"str|A|z|3"}
        << QByteArray("[A]\nx=1\nz=3\n; note\n\n[B]\ny=2\n");
    QTest::newRow("replace in place, spelling of the file kept")
        << QByteArray("[A]\n Key = old\nother=1\n") << QStringList{"str|a|KEY|new"} << QByteArray("[A]\nKey=new\nother=1\n");
    QTest::newRow("first of two equal keys replaced")
        << QByteArray("[A]\nx=1\nx=2\n") << QStringList{"str|A|x|3"} << QByteArray("[A]\nx=3\nx=2\n");
    QTest::newRow("new section appended after a blank line")
        << QByteArray("[A]\nx=1\n") << QStringList{"str|B|y|2"} << QByteArray("[A]\nx=1\n\n[B]\ny=2\n");
    QTest::newRow("section without keys gets the key under its header")
        << QByteArray("[A]\n;x=1\n") << QStringList{"str|A|x|2"} << QByteArray("[A]\nx=2\n;x=1\n");
    QTest::newRow("new lines end like the file's first")
        << QByteArray("[A]\r\nx=1\r\n") << QStringList{"str|A|y|2", "str|B|z|3"}
        << QByteArray("[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=3\r\n");
    QTest::newRow("a replaced line keeps its end")
        << QByteArray("[A]\nx=1\r\ny=2") << QStringList{"str|A|x|5", "str|A|y|6"} << QByteArray("[A]\nx=5\r\ny=6");
    QTest::newRow("last line gets an end only when one follows")
        << QByteArray("[A]\nx=1") << QStringList{"str|A|y|2"} << QByteArray("[A]\nx=1\ny=2\n");
    QTest::newRow("integers and booleans")
        << QByteArray() << QStringList{"int|A|i|-12", "bool|A|t|1", "bool|A|f|0"} << QByteArray("[A]\ni=-12\nt=1\nf=0\n");
    QTest::newRow("erase a section")
        << QByteArray("[A]\nx=1\n\n[B]\n; c\ny=2\n\n[C]\nz=3\n") << QStringList{"erase|b"}
        << QByteArray("[A]\nx=1\n\n[C]\nz=3\n");
    QTest::newRow("erase every copy of a section")
        << QByteArray("[A]\nx=1\n[B]\n[a]\ny=2\n") << QStringList{"erase|A"} << QByteArray("[B]\n");
    QTest::newRow("erase then write again")
        << QByteArray("[A]\nx=1\n\n[B]\ny=2\n") << QStringList{"erase|A", "str|A|x|5"}
        << QByteArray("[B]\ny=2\n\n[A]\nx=5\n");
}

void TestIniFile::writes()
{
    QFETCH(QByteArray, before);
    QFETCH(QStringList, operations);
    QFETCH(QByteArray, after);
    if (!before.isEmpty())
        writeFile(m_path, before);
    IniFile ini(m_path);
    for (const QString &op : operations) {
        const QStringList f = op.split(u'|');
        if (f[0] == "erase")
            ini.eraseSection(f[1]);
        else if (f[0] == "int")
            ini.writeInteger(f[1], f[2], f[3].toInt());
        else if (f[0] == "bool")
            ini.writeBool(f[1], f[2], f[3] == "1");
        else
            ini.writeString(f[1], f[2], f[3]);
    }
    QCOMPARE(readFile(m_path), after);
}

void TestIniFile::permissions()
{
    // A created file holds the last password: its owner alone may read it.
    IniFile ini(m_path);
    ini.writeString(QStringLiteral("Password"), QStringLiteral("LastPass"), QStringLiteral("secret"));
    const QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    QCOMPARE(QFile::permissions(m_path), ownerOnly);
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"vantor.ini"});

    // The permissions of an existing file are the user's business...
    const QFile::Permissions wide = ownerOnly | QFile::ReadGroup | QFile::ReadOther;
    QVERIFY(QFile::setPermissions(m_path, wide));
    ini.writeString(QStringLiteral("Password"), QStringLiteral("LastPass"), QStringLiteral("other"));
    QCOMPARE(QFile::permissions(m_path), wide);
    // ...until it holds the password it is told to protect, even through a
    // write of another key.
    ini.protectValue(QStringLiteral("password"), QStringLiteral("lastpass"));
    ini.writeString(QStringLiteral("Password"), QStringLiteral("LastPass"), QString());
    QCOMPARE(QFile::permissions(m_path), wide);
    ini.writeString(QStringLiteral("Password"), QStringLiteral("LastPass"), QStringLiteral("secret"));
    QCOMPARE(QFile::permissions(m_path), ownerOnly);
    QVERIFY(QFile::setPermissions(m_path, wide));
    ini.writeInteger(QStringLiteral("Settings"), QStringLiteral("GameType"), 1);
    QCOMPARE(QFile::permissions(m_path), ownerOnly);

    // A user's first save makes the configuration folder it goes into.
    const QString nested = m_dir.filePath(QStringLiteral("config/vantor/vantor.ini"));
    IniFile fresh(nested);
    fresh.writeString(QStringLiteral("Password"), QStringLiteral("LastPass"), QStringLiteral("secret"));
    QCOMPARE(QFile::permissions(nested), ownerOnly);
    QCOMPARE(readFile(nested), QByteArray("[Password]\nLastPass=secret\n"));
}

void TestIniFile::writeReplacesFileWhole()
{
    // A reader of the old file keeps seeing it whole: the new text arrives as a
    // new file that takes the old one's place, never by rewriting it in place.
    const QByteArray old = "[A]\nx=1\n";
    writeFile(m_path, old);
    QFile reader(m_path);
    QVERIFY(reader.open(QIODevice::ReadOnly));
    IniFile ini(m_path);
    ini.writeString(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("22222"));
    QCOMPARE(reader.readAll(), old);
    QCOMPARE(readFile(m_path), QByteArray("[A]\nx=22222\n"));
}

void TestIniFile::writeFailure_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::newRow("parent is a regular file") << "plain.txt/vantor.ini";
    QTest::newRow("folder cannot be made") << "plain.txt/deeper/vantor.ini";
}

void TestIniFile::writeFailure()
{
    QFETCH(QString, relativePath);
    writeFile(m_dir.filePath(QStringLiteral("plain.txt")), "x");
    const QString path = m_dir.filePath(relativePath);
    IniFile ini(path);
    QCOMPARE(ini.readString(QStringLiteral("A"), QStringLiteral("k"), Missing), Missing);
    try {
        ini.writeString(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("v"));
        QFAIL("the write did not fail");
    } catch (const IniWriteError &e) {
        QCOMPARE(e.message(), QStringLiteral("Unable to write to ") + path);
    }
    // The failed write is not seen by later reads.
    QCOMPARE(ini.readString(QStringLiteral("A"), QStringLiteral("k"), Missing), Missing);
}

void TestIniFile::rereadsAfterOutsideChange_data()
{
    QTest::addColumn<QByteArray>("outside");
    QTest::addColumn<bool>("touchLater");
    QTest::addColumn<QString>("expected");
    QTest::newRow("size changed") << QByteArray("[A]\nk=22\nother=5\n") << false << "22";
    QTest::newRow("same size, later time") << QByteArray("[A]\nk=2\n") << true << "2";
}

void TestIniFile::rereadsAfterOutsideChange()
{
    QFETCH(QByteArray, outside);
    QFETCH(bool, touchLater);
    QFETCH(QString, expected);
    IniFile ini(m_path);
    ini.writeString(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("1"));
    QCOMPARE(ini.readString(QStringLiteral("A"), QStringLiteral("k"), Missing), QStringLiteral("1"));

    writeFile(m_path, outside);
    if (touchLater) {
        QFile file(m_path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(10), QFileDevice::FileModificationTime));
    }
    QCOMPARE(ini.readString(QStringLiteral("A"), QStringLiteral("k"), Missing), expected);

    // A write keeps what the other writer added.
    ini.writeString(QStringLiteral("A"), QStringLiteral("j"), QStringLiteral("3"));
    QCOMPARE(readFile(m_path), outside + "j=3\n");
}

void TestIniFile::batchWritesOnceAtEnd()
{
    writeFile(m_path, "[A]\nx=1\n");
    IniFile ini(m_path);
    ini.beginBatch();
    ini.writeString(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("2"));
    ini.beginBatch();
    ini.eraseSection(QStringLiteral("B"));
    ini.writeString(QStringLiteral("B"), QStringLiteral("y"), QStringLiteral("3"));
    ini.endBatch();
    QCOMPARE(readFile(m_path), QByteArray("[A]\nx=1\n"));
    QCOMPARE(ini.readString(QStringLiteral("A"), QStringLiteral("x"), Missing), QStringLiteral("2"));
    ini.endBatch();
    QCOMPARE(readFile(m_path), QByteArray("[A]\nx=2\n\n[B]\ny=3\n"));
}

void TestIniFile::unrelatedWriteKeepsEveryLine_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("CR CR LF") << QByteArray("[A]\nk=v\r\r\nj=w\n") << "k" << "v";
    QTest::newRow("key ending in CR") << QByteArray("[A]\nj\r\r\nk=v\n") << "j" << "";
    QTest::newRow("lone CR ends a line") << QByteArray("[A]\rk=v\r") << "k" << "v";
    QTest::newRow("Latin-1 path") << QByteArray("[A]\nk=C:\\Spiele\\K\xE4se.exe\n") << "k"
                                  << QStringLiteral("C:\\Spiele\\K\u00E4se.exe");
    QTest::newRow("BOM, CRLF and UTF-8") << QByteArray("\xEF\xBB\xBF[A]\r\nk=caf\xC3\xA9\r\n") << "k"
                                         << QStringLiteral("caf\u00E9");
    QTest::newRow("no end after the last line") << QByteArray("[A]\nk= v ") << "k" << "v";
    QTest::newRow("comment and blanks") << QByteArray("; mine\r\n\t\n[A]\n  k =  v\t\n") << "k" << "v";
}

// What reads the same before a write of another key reads the same after it,
// and the lines that the write is not about keep their bytes.
void TestIniFile::unrelatedWriteKeepsEveryLine()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    writeFile(m_path, content);
    IniFile ini(m_path);
    QCOMPARE(ini.readString(QStringLiteral("A"), key, Missing), expected);
    ini.writeString(QStringLiteral("Other"), QStringLiteral("x"), QStringLiteral("1"));
    QVERIFY2(readFile(m_path).startsWith(content), readFile(m_path).toHex(' ').constData());
    QCOMPARE(IniFile(m_path).readString(QStringLiteral("A"), key, Missing), expected);
}

void TestIniFile::writtenTextReadsBackWhole_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("parameter line with =") << "+map=de_dust2" << "" << QByteArray("\"+map=de_dust2\"=");
    QTest::newRow("quotes inside") << "+hostname=\"a b\"" << "" << QByteArray("\"+hostname=\"\"a b\"\"\"=");
    QTest::newRow("key like a section") << "[Settings]" << "" << QByteArray("\"[Settings]\"=");
    QTest::newRow("key like a comment") << ";x" << "1" << QByteArray("\";x\"=1");
    QTest::newRow("key starting with a quote") << "\"x" << "" << QByteArray("\"\"\"x\"=");
    QTest::newRow("plain key, = in the value") << "-game" << "a=b" << QByteArray("-game=a=b");
    QTest::newRow("blanks at the ends of a value") << "LastPass" << " secret " << QByteArray("LastPass=\" secret \"");
    QTest::newRow("value in quotes") << "k" << "'x'" << QByteArray("k=\"'x'\"");
    QTest::newRow("value in double quotes") << "k" << "\"x\"" << QByteArray("k=\"\"x\"\"");
    QTest::newRow("one quote") << "k" << "\"" << QByteArray("k=\"");
}

void TestIniFile::writtenTextReadsBackWhole()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, line);
    IniFile(m_path).writeString(QStringLiteral("P"), key, value);
    QCOMPARE(readFile(m_path), "[P]\n" + line + "\n");
    IniFile ini(m_path);
    QCOMPARE(ini.readSection(QStringLiteral("P")), QStringList{key});
    QCOMPARE(ini.readString(QStringLiteral("P"), key, Missing), value);
    // Written again in place, it still reads the same.
    ini.writeString(QStringLiteral("P"), key, value);
    QCOMPARE(readFile(m_path), "[P]\n" + line + "\n");
}

void TestIniFile::lineBreaksAreRefused_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("named");
    QTest::newRow("value planting a key") << "Settings" << "ExePath1" << "x\n[Settings]\nExePath0=evil"
                                    << "the value of ExePath1 in [Settings]";
    QTest::newRow("value ending in CR") << "Password" << "LastPass" << "secret\r" << "the value of LastPass in [Password]";
    QTest::newRow("key") << "Params" << "-a\n-b" << "" << "a key name in [Params]";
    QTest::newRow("section") << "A\r\nB" << "k" << "v" << "a section name";
}

// A text with a line break would write extra lines; it is refused whole, and
// a batch that it is part of never reaches the disk.
void TestIniFile::lineBreaksAreRefused()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, named);
    const QByteArray before = "[Settings]\nExePath0=hl\n";
    writeFile(m_path, before);
    IniFile ini(m_path);
    QVERIFY_THROWS_EXCEPTION(IniWriteError, ini.writeString(section, key, value));
    QCOMPARE(readFile(m_path), before);

    ini.beginBatch();
    ini.writeString(QStringLiteral("Settings"), QStringLiteral("ExePath0"), QStringLiteral("changed"));
    try {
        ini.writeString(section, key, value);
        QFAIL("the write was not refused");
    } catch (const IniWriteError &e) {
        QVERIFY2(e.message().startsWith(QStringLiteral("Unable to write to ") + m_path), qPrintable(e.message()));
        QVERIFY2(e.message().contains(named + QStringLiteral(" holds a line break")), qPrintable(e.message()));
        QVERIFY(!e.message().contains(u'\n') && !e.message().contains(u'\r'));
    }
    ini.endBatch();
    QCOMPARE(readFile(m_path), before);
    QCOMPARE(ini.readString(QStringLiteral("Settings"), QStringLiteral("ExePath0"), Missing), QStringLiteral("hl"));
    // The file object is usable afterwards.
    ini.writeString(QStringLiteral("Settings"), QStringLiteral("ExePath0"), QStringLiteral("hl2"));
    QCOMPARE(readFile(m_path), QByteArray("[Settings]\nExePath0=hl2\n"));
}

void TestIniFile::location_data()
{
    QTest::addColumn<bool>("fileBeside");
    QTest::addColumn<bool>("folderWritable");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("expectBeside");
    QTest::newRow("build tree, first start") << false << true << false << true;
    QTest::newRow("portable copy with its file") << true << true << false << true;
    QTest::newRow("file beside a read-only copy") << true << false << false << true;
    QTest::newRow("installed, read-only folder") << false << false << true << false;
    // Root may write to /usr/bin; a file there would hide every user's settings.
    QTest::newRow("installed, run by root") << false << true << true << false;
    QTest::newRow("installed with a portable file") << true << true << true << true;
    QTest::newRow("read-only folder elsewhere") << false << false << false << false;
}

void TestIniFile::location()
{
    QFETCH(bool, fileBeside);
    QFETCH(bool, folderWritable);
    QFETCH(bool, installed);
    QFETCH(bool, expectBeside);
    // The writable answer is injected: tests may run as root, who writes everywhere.
    const QString exeFolder = m_dir.path();
    if (fileBeside)
        writeFile(m_path, "[Settings]\n");
    const QString config = m_dir.filePath(QStringLiteral("home/.config/vantor"));
    QStringList asked;
    const QString chosen = IniLocation::choose(exeFolder, config, installed, [&](const QString &folder) {
        asked << folder;
        return folderWritable;
    });
    QCOMPARE(chosen, expectBeside ? m_path : config + QStringLiteral("/vantor.ini"));
    for (const QString &folder : asked)
        QCOMPARE(folder, exeFolder);
    // Choosing reads and makes nothing.
    QVERIFY(!QFileInfo::exists(m_dir.filePath(QStringLiteral("home"))));
}

void TestIniFile::installedFolders_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("installed");
    const QString prefix = QStringLiteral("/home/ann/.local/bin");
    QTest::newRow("the package's folder") << "/usr/bin" << true;
    QTest::newRow("a package's games folder") << "/usr/games" << true;
    QTest::newRow("a local install") << "/usr/local/bin" << true;
    QTest::newRow("an add-on package") << "/opt/vantor/bin" << true;
    QTest::newRow("the build's own install folder") << prefix << true;
    QTest::newRow("the same with a trailing slash") << prefix + u'/' << true;
    QTest::newRow("a build tree") << "/home/ann/src/vantor/build" << false;
    QTest::newRow("a folder beside the install folder") << "/home/ann/.local/bin2" << false;
    QTest::newRow("a name that only starts like /usr") << "/usrlocal/bin" << false;
    QTest::newRow("a name that only starts like /opt") << "/optional/vantor" << false;
}

void TestIniFile::installedFolders()
{
    QFETCH(QString, folder);
    QFETCH(bool, installed);
    QCOMPARE(IniLocation::isInstalled(folder, QStringLiteral("/home/ann/.local/bin")), installed);
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
