#include "jsonwriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

// vantor-query's JSON lines are written without QJsonDocument; scripts read
// them, so they must stay what QJsonDocument printed: same escapes, same bytes.
class TestJsonWriter : public QObject
{
    Q_OBJECT

private slots:
    void stringsAsQtWritesThem_data();
    void stringsAsQtWritesThem();
    void nestedObjectsAndArrays();
};

namespace {

QByteArray qtJson(const QJsonObject &o)
{
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

} // namespace

void TestJsonWriter::stringsAsQtWritesThem_data()
{
    QTest::addColumn<QString>("text");
    QString everyControl;
    for (char16_t c = 0; c < 0x20; ++c)
        everyControl += QChar(c);
    QTest::newRow("empty") << QString();
    QTest::newRow("plain") << QStringLiteral("de_dust2 [EU] #1");
    QTest::newRow("every control character") << everyControl;
    QTest::newRow("quote and backslash") << QStringLiteral("say \"hi\" C:\\games\\");
    QTest::newRow("DEL and C1") << QStringLiteral("a\u007f\u0080\u009fb");
    QTest::newRow("two- and three-byte UTF-8") << QStringLiteral("Тест игрок é € \u2028 \ufffd");
    QTest::newRow("outside the BMP") << QString::fromUcs4(U"\U0001F600 \U00010000");
    QTest::newRow("lone high surrogate") << QString(QChar(0xD800)) + u'x';
    QTest::newRow("lone low surrogate") << QString(QChar(0xDC00));
    QTest::newRow("high surrogate at the end") << QStringLiteral("x") + QChar(0xDBFF);
    QTest::newRow("terminal escape") << QStringLiteral("\x1b]0;owned\x07");
}

void TestJsonWriter::stringsAsQtWritesThem()
{
    QFETCH(QString, text);
    JsonWriter json;
    json.beginObject();
    json.field("k", text);
    json.endObject();
    QCOMPARE(json.bytes(), qtJson(QJsonObject{{"k", text}}));
}

void TestJsonWriter::nestedObjectsAndArrays()
{
    JsonWriter json;
    json.beginObject();
    json.field("a", QStringLiteral("x"));
    json.field("b", std::nullopt);
    json.field("c", std::optional<qint64>(0));
    json.key("d");
    json.beginArray();
    json.endArray();
    json.key("e");
    json.beginArray();
    for (int i = 0; i < 2; ++i) {
        json.beginObject();
        json.field("f", qint64(-2147483648LL) + i);
        json.field("g", qint64(1) << 40);
        json.endObject();
    }
    json.endArray();
    json.field("h", qint64(65535));
    json.endObject();

    const QJsonArray e{QJsonObject{{"f", qint64(-2147483648LL)}, {"g", qint64(1) << 40}},
                       QJsonObject{{"f", qint64(-2147483647LL)}, {"g", qint64(1) << 40}}};
    const QJsonObject expected{{"a", "x"}, {"b", QJsonValue()}, {"c", 0}, {"d", QJsonArray()}, {"e", e}, {"h", 65535}};
    QCOMPARE(json.bytes(), qtJson(expected));
}

QTEST_GUILESS_MAIN(TestJsonWriter)
#include "tst_jsonwriter.moc"
