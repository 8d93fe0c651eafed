// The translation files against the texts of the code: every message there,
// none left over, every one finished, and each translation keeping what the
// program fills in or the user presses (placeholders, mnemonics, the blanks
// that the status bar texts begin with).

#include "app/language.h"
#include "support/tsfile.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString keyOf(const TsMessage &m)
{
    return m.context + u'\x1f' + m.source + u'\x1f' + m.comment;
}

// The placeholders of a text, each once, in order: %1 ... %99, %n.
QStringList placeholders(const QString &text)
{
    static const QRegularExpression marker(QStringLiteral("%(\\d+|n)"));
    QStringList found;
    for (auto it = marker.globalMatch(text); it.hasNext();) {
        const QString m = it.next().captured();
        if (!found.contains(m))
            found << m;
    }
    found.sort();
    return found;
}

// Mnemonic markers: a '&' that is not part of a literal "&&".
int mnemonics(QString text)
{
    text.remove(QStringLiteral("&&"));
    return int(text.count(u'&'));
}

QString leadingBlanks(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    return text.left(i);
}

QString trailingBlanks(const QString &text)
{
    qsizetype i = text.size();
    while (i > 0 && text.at(i - 1).isSpace())
        --i;
    return text.mid(i);
}

QString describe(const TsMessage &m)
{
    return m.context + QStringLiteral(" \"") + m.source + u'"';
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyTranslationIsComplete_data();
    void everyTranslationIsComplete();
    void filesMatchTheCode_data() { everyTranslationIsComplete_data(); }
    void filesMatchTheCode();
    void languageFollowsSettingThenSystem_data();
    void languageFollowsSettingThenSystem();

private:
    QList<TsMessage> current; // what lupdate finds in the code now
};

void TestTranslations::initTestCase()
{
    // lupdate over the code, into a file of its own: the texts as they are now.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QStringList sources;
    for (QDirIterator it(QStringLiteral(VANTOR_SOURCE_DIR), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                         QDir::Files, QDirIterator::Subdirectories);
         it.hasNext();)
        sources << it.next();
    QVERIFY(!sources.isEmpty());
    const QString fresh = dir.filePath(QStringLiteral("fresh_de.ts"));
    QProcess lupdate;
    lupdate.setProcessChannelMode(QProcess::MergedChannels);
    lupdate.start(QStringLiteral(VANTOR_LUPDATE),
                  QStringList{QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                              QStringLiteral("-I"), QStringLiteral(VANTOR_SOURCE_DIR)}
                      + sources + QStringList{QStringLiteral("-ts"), fresh});
    QVERIFY(lupdate.waitForFinished(60000));
    QVERIFY2(lupdate.exitCode() == 0, lupdate.readAll().constData());
    current = readTsFile(fresh);
    QVERIFY(current.size() > 100);
}

void TestTranslations::everyTranslationIsComplete_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("language");
    for (const QString &code : Language::translated())
        QTest::newRow(qPrintable(code)) << QStringLiteral(VANTOR_TRANSLATIONS_DIR "/vantor_%1.ts").arg(code) << code;
}

void TestTranslations::everyTranslationIsComplete()
{
    QFETCH(QString, path);
    QFETCH(QString, language);
    QString declared;
    const QList<TsMessage> messages = readTsFile(path, &declared);
    QVERIFY2(!messages.isEmpty(), qPrintable(path));
    QVERIFY2(declared.startsWith(language), qPrintable(declared));

    QStringList problems;
    for (const TsMessage &m : messages) {
        const auto problem = [&](const QString &what) { problems << describe(m) + QStringLiteral(": ") + what; };
        if (!m.type.isEmpty())
            problem(m.type);
        if (m.forms.isEmpty())
            problem(QStringLiteral("no translation"));
        for (const QString &form : m.forms) {
            if (form.isEmpty()) {
                problem(QStringLiteral("an empty form"));
                continue;
            }
            if (placeholders(form) != placeholders(m.source))
                problem(QStringLiteral("placeholders %1 in \"%2\"").arg(placeholders(form).join(u' '), form));
            if (mnemonics(form) != mnemonics(m.source))
                problem(QStringLiteral("%1 mnemonic(s) in \"%2\"").arg(mnemonics(form)).arg(form));
            if (leadingBlanks(form) != leadingBlanks(m.source) || trailingBlanks(form) != trailingBlanks(m.source))
                problem(QStringLiteral("other blanks around \"%1\"").arg(form));
        }
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

void TestTranslations::filesMatchTheCode()
{
    QFETCH(QString, path);
    QSet<QString> inFile;
    for (const TsMessage &m : readTsFile(path))
        inFile.insert(keyOf(m));
    QSet<QString> inCode;
    QStringList missing;
    for (const TsMessage &m : current) {
        inCode.insert(keyOf(m));
        if (!inFile.contains(keyOf(m)))
            missing << describe(m);
    }
    QStringList vanished;
    for (const TsMessage &m : readTsFile(path)) {
        if (!inCode.contains(keyOf(m)))
            vanished << describe(m);
    }
    // scripts/update-translations brings the file in line with the code.
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("not in the file:\n") + missing.join(u'\n')));
    QVERIFY2(vanished.isEmpty(), qPrintable(QStringLiteral("no longer in the code:\n") + vanished.join(u'\n')));
}

void TestTranslations::languageFollowsSettingThenSystem_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QStringList>("uiLanguages");
    QTest::addColumn<QString>("picked");
    const QStringList russian{QStringLiteral("ru-RU"), QStringLiteral("ru")};
    QTest::newRow("system russian") << QString() << russian << QStringLiteral("ru");
    QTest::newRow("system german, swiss") << QString() << QStringList{QStringLiteral("de-CH")} << QStringLiteral("de");
    QTest::newRow("system C") << QString() << QStringList{QStringLiteral("C")} << QString();
    QTest::newRow("no system languages") << QString() << QStringList() << QString();
    QTest::newRow("french, then german") << QString() << QStringList{QStringLiteral("fr-FR"), QStringLiteral("de")}
                                         << QStringLiteral("de");
    QTest::newRow("english before russian") << QString() << QStringList{QStringLiteral("en-GB"), QStringLiteral("ru")}
                                            << QString();
    QTest::newRow("only untranslated") << QString() << QStringList{QStringLiteral("fr"), QStringLiteral("ja")} << QString();
    QTest::newRow("chosen english") << QStringLiteral("en") << russian << QString();
    QTest::newRow("chosen german") << QStringLiteral("de") << russian << QStringLiteral("de");
    QTest::newRow("unknown setting follows the system") << QStringLiteral("xx") << russian << QStringLiteral("ru");
}

void TestTranslations::languageFollowsSettingThenSystem()
{
    QFETCH(QString, setting);
    QFETCH(QStringList, uiLanguages);
    QTEST(Language::pick(setting, uiLanguages), "picked");
}

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
