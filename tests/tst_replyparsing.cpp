#include "query/detailparse.h"
#include "query/infoparse.h"
#include "support/testsupport.h"

#include <QtTest>

// Byte-level parsing of info, players and rules replies.
class TestReplyParsing : public QObject
{
    Q_OBJECT

private slots:
    void hl1Reply();
    void sourceReply_data();
    void sourceReply();
    void incompleteInfoIsDropped_data();
    void incompleteInfoIsDropped();
    void extractValue_data();
    void extractValue();
    void oldReply_data();
    void oldReply();
    void oldReplyNumbersNeverWrap_data();
    void oldReplyNumbersNeverWrap();
    void players_data();
    void players();
    void playersSort();
    void rules_data();
    void rules();
    void bigRuleCount();
};

void TestReplyParsing::hl1Reply()
{
    const QByteArray d = bytesOf("FF FF FF FF 6D '10.0.0.1:27015' 00 'My server' 00 'de_dust2' 00 'cstrike' 00"
                                 "'Counter-Strike' 00 0C 14 2F 64 6C 01 00 01 03");
    const auto info = parseHalfLifeInfo(d, 27016, QStringLiteral("127.0.0.9"));
    QVERIFY(info);
    QCOMPARE(info->hostName, QStringLiteral("My server"));
    QCOMPARE(info->map, QStringLiteral("de_dust2"));
    QCOMPARE(info->gameDir, QStringLiteral("cstrike"));
    QCOMPARE(info->description, QStringLiteral("Counter-Strike"));
    QCOMPARE(info->players, quint8(12));
    QCOMPARE(info->maxPlayers, quint8(20));
    QCOMPARE(info->protocol, quint8(47));
    QCOMPARE(info->os, 'l');
    QCOMPARE(info->password, quint8(1));
    QCOMPARE(info->bots, 3); // after the mod flag (no mod block) and the VAC flag
    // The address and port come from the datagram, not from the text inside it.
    QCOMPARE(info->address, QStringLiteral("127.0.0.9"));
    QCOMPARE(info->port, 27016);
    QVERIFY(info->proxy.isEmpty());
}

void TestReplyParsing::sourceReply_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("players");
    QTest::addColumn<int>("maxPlayers");
    QTest::addColumn<char>("os");

    const QByteArray fixed = bytesOf("FF FF FF FF 49 11 'Big ' 00 'cp_dustbowl' 00 'tf' 00 'Team Fortress' 00"
                                     "B8 01 18 20 00 64 6C 00");
    QTest::newRow("fixed part only") << fixed << "Big " << 24 << 32 << 'l';
    // Real servers append version, extra-data flag, ports, Steam id and keywords.
    QByteArray longReply = fixed + bytesOf("01 '1.0' 00 F1 87 69") + QByteArray(200, 'k') + QByteArray(1, 0);
    QTest::newRow("250 bytes and more") << longReply << "Big " << 24 << 32 << 'l';
    // The Ship puts three bytes before its version; a missing flag byte is fine too.
    QTest::newRow("ship trailer") << fixed + bytesOf("01 00 02 05 '1.0.0.16' 00") << "Big " << 24 << 32 << 'l';
    const QByteArray utf8 = bytesOf("FF FF FF FF 49 11") + QStringLiteral("Город").toUtf8()
        + bytesOf("00 'm' 00 'garrysmod' 00 'DarkRP' 00 A0 0F 21 28 00 64 77 00");
    QTest::newRow("utf-8 name") << utf8 << QStringLiteral("Город") << 33 << 40 << 'w';
}

void TestReplyParsing::sourceReply()
{
    QFETCH(QByteArray, reply);
    const auto info = parseSourceInfo(reply, 27015, QStringLiteral("127.0.0.1"));
    QVERIFY(info);
    QTEST(info->hostName, "name");
    QTEST(int(info->players), "players");
    QTEST(int(info->maxPlayers), "maxPlayers");
    QTEST(info->os, "os");
    QCOMPARE(info->password, quint8(0));
}

void TestReplyParsing::incompleteInfoIsDropped_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("source");
    QTest::newRow("I header only") << bytesOf("FF FF FF FF 49") << true;
    QTest::newRow("I name unterminated") << bytesOf("FF FF FF FF 49 11 'abc'") << true;
    QTest::newRow("I cut before password") << bytesOf("FF FF FF FF 49 11 'a' 00 'b' 00 'c' 00 'd' 00 01 00 02 03 00 64 6C")
                                           << true;
    QTest::newRow("m cut before password") << bytesOf("FF FF FF FF 6D 'x' 00 'a' 00 'b' 00 'c' 00 'd' 00 01 02 2F 64 6C")
                                           << false;
}

void TestReplyParsing::incompleteInfoIsDropped()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, source);
    const auto info = source ? parseSourceInfo(reply, 1, QStringLiteral("127.0.0.1")) : parseHalfLifeInfo(reply, 1, QStringLiteral("127.0.0.1"));
    QVERIFY(!info);
}

void TestReplyParsing::extractValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("plain") << "\\hostname\\Box\\map\\crossfire\\" << "\\map\\" << "crossfire";
    QTest::newRow("closed by next key") << "\\hostname\\Box\\map\\x\\" << "\\hostname\\" << "Box";
    QTest::newRow("last pair unclosed") << "\\hostname\\Box\\map\\crossfire" << "\\map\\" << "";
    QTest::newRow("missing key") << "\\hostname\\Box\\" << "\\max\\" << "";
    QTest::newRow("second occurrence wins") << "\\max\\8\\map\\a\\max\\16\\" << "\\max\\" << "16";
    QTest::newRow("adjacent repeat") << "\\max\\8\\max\\16\\" << "\\max\\" << "16";
    QTest::newRow("unclosed repeat keeps first") << "\\max\\8\\map\\a\\max\\16" << "\\max\\" << "8";
    QTest::newRow("key in capitals") << "\\HostName\\Box\\" << "\\hostname\\" << "Box";
    QTest::newRow("value keeps its case") << "\\map\\De_Dust\\" << "\\MAP\\" << "De_Dust";
    QTest::newRow("stops at zero") << QStringLiteral("\\map\\a\\") + QChar(0) + "\\map\\b\\" << "\\map\\" << "a";
    QTest::newRow("empty value") << "\\password\\\\os\\w\\" << "\\password\\" << "";
}

void TestReplyParsing::extractValue()
{
    QFETCH(QString, text);
    QFETCH(QString, key);
    QTEST(infoStringValue(text, key, QStringLiteral("\\")), "value");
}

void TestReplyParsing::oldReply_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("listed");
    QTest::addColumn<QString>("gameDir");
    QTest::addColumn<int>("protocol");
    QTest::addColumn<char>("os");
    QTest::addColumn<QString>("proxy");

    QTest::newRow("hltv proxy")
        << QByteArray("\\protocol\\47\\players\\3\\proxy\\1\\max\\10\\gamedir\\valve\\description\\HLTV\\hostname\\H\\"
                      "map\\m\\password\\0\\os\\W\\secure\\0")
        << true << "valve" << 47 << 'w' << "1";
    QTest::newRow("linux") << QByteArray("\\protocol\\46\\players\\0\\max\\8\\password\\0\\os\\l\\gamedir\\cstrike\\")
                           << true << "cstrike" << 46 << 'l' << "";
    QTest::newRow("no os") << QByteArray("\\protocol\\46\\players\\0\\max\\8\\password\\0\\gamedir\\x\\") << true << "x"
                           << 46 << 'l' << "";
    QTest::newRow("players missing") << QByteArray("\\protocol\\46\\max\\8\\password\\0\\") << false << "" << 0 << 'l'
                                     << "";
    QTest::newRow("protocol not a number") << QByteArray("\\protocol\\4x\\players\\0\\max\\8\\password\\0\\") << false
                                           << "" << 0 << 'l' << "";
    QTest::newRow("password last and unclosed")
        << QByteArray("\\protocol\\46\\players\\0\\max\\8\\password\\0") << false << "" << 0 << 'l' << "";
}

void TestReplyParsing::oldReply()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, listed);
    const QByteArray reply = bytesOf("FF FF FF FF 'infostringresponse' 00") + body + QByteArray(1, 0);
    const auto info = parseOldInfo(reply, 27020, QStringLiteral("127.0.0.3"));
    QCOMPARE(bool(info), listed);
    if (!listed)
        return;
    QTEST(info->gameDir, "gameDir");
    QTEST(int(info->protocol), "protocol");
    QTEST(info->os, "os");
    QTEST(info->proxy, "proxy");
    QCOMPARE(info->port, 27020);
}

void TestReplyParsing::oldReplyNumbersNeverWrap_data()
{
    QTest::addColumn<QByteArray>("numbers");
    QTest::addColumn<int>("protocol");
    QTest::addColumn<int>("players");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("password");
    QTest::newRow("as sent") << QByteArray("\\protocol\\47\\players\\3\\max\\255\\password\\1\\") << 47 << 3 << 255 << 1;
    QTest::newRow("players 300") << QByteArray("\\protocol\\47\\players\\300\\max\\32\\password\\0\\") << 47 << 255 << 32 << 0;
    QTest::newRow("max 256") << QByteArray("\\protocol\\47\\players\\3\\max\\256\\password\\0\\") << 47 << 3 << 255 << 0;
    QTest::newRow("protocol 65583") << QByteArray("\\protocol\\65583\\players\\3\\max\\8\\password\\0\\") << 255 << 3 << 8 << 0;
    QTest::newRow("password 256") << QByteArray("\\protocol\\47\\players\\3\\max\\8\\password\\256\\") << 47 << 3 << 8 << 255;
    QTest::newRow("negative players") << QByteArray("\\protocol\\47\\players\\-1\\max\\8\\password\\0\\") << 47 << 0 << 8 << 0;
}

void TestReplyParsing::oldReplyNumbersNeverWrap()
{
    QFETCH(QByteArray, numbers);
    const QByteArray reply = bytesOf("FF FF FF FF 'infostringresponse' 00") + numbers + QByteArray(1, 0);
    const auto info = parseOldInfo(reply, 27015, QStringLiteral("127.0.0.3"));
    QVERIFY(info);
    QTEST(int(info->protocol), "protocol");
    QTEST(int(info->players), "players");
    QTEST(int(info->maxPlayers), "max");
    QTEST(int(info->password), "password");
}

void TestReplyParsing::players_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<int>>("frags");

    QTest::newRow("no players") << bytesOf("FF FF FF FF 44 00") << QStringList() << QList<int>();
    QTest::newRow("two, reply order") << bytesOf("FF FF FF FF 44 02 01 'Ann' 00 05 00 00 00 00 00 80 3F"
                                                 "02 'Bob' 00 F6 FF FF FF 00 00 00 40")
                                      << QStringList{"Ann", "Bob"} << QList<int>{5, -10};
    // The Ship sends deaths and money of every player after the entries.
    QTest::newRow("count bounds the list")
        << bytesOf("FF FF FF FF 44 01 00 'Ann' 00 05 00 00 00 00 00 80 3F") + QByteArray(24, char(1))
        << QStringList{"Ann"} << QList<int>{5};
    QTest::newRow("count above entries") << bytesOf("FF FF FF FF 44 09 00 'Ann' 00 05 00 00 00 00 00 80 3F")
                                         << QStringList{"Ann"} << QList<int>{5};
    QTest::newRow("last entry cut") << bytesOf("FF FF FF FF 44 02 00 'Ann' 00 05 00 00 00 00 00 80 3F 00 'Bo'")
                                    << QStringList{"Ann"} << QList<int>{5};
    QTest::newRow("frags cut") << bytesOf("FF FF FF FF 44 01 00 'Ann' 00 05 00") << QStringList() << QList<int>();
    QTest::newRow("utf-8 name") << bytesOf("FF FF FF FF 44 01 00") + QStringLiteral("Ｄｏｆｆｙ").toUtf8()
                                       + bytesOf("00 00 00 00 00 00 00 00 00")
                                << QStringList{QStringLiteral("Ｄｏｆｆｙ")} << QList<int>{0};
}

void TestReplyParsing::players()
{
    QFETCH(QByteArray, reply);
    QFETCH(QStringList, names);
    QFETCH(QList<int>, frags);
    const QVector<PlayerRow> rows = parsePlayers(reply);
    QCOMPARE(rows.size(), names.size());
    for (int i = 0; i < rows.size(); ++i) {
        QCOMPARE(rows[i].name, names[i]);
        QCOMPARE(rows[i].frags, frags[i]);
    }
}

void TestReplyParsing::playersSort()
{
    QVector<PlayerRow> rows{{"bob", 3}, {"Carl", -2}, {"al", 3}, {"Bo", 0}, {"dan", 10}};
    sortPlayers(rows, playersSortForColumn(1));
    QCOMPARE(rows, (QVector<PlayerRow>{{"dan", 10}, {"bob", 3}, {"al", 3}, {"Bo", 0}, {"Carl", -2}}));
    sortPlayers(rows, playersSortForColumn(0));
    QCOMPARE(rows, (QVector<PlayerRow>{{"al", 3}, {"Bo", 0}, {"bob", 3}, {"Carl", -2}, {"dan", 10}}));
    // Equal frags compare equal, so sorting by frags again keeps the name order among them.
    sortPlayers(rows, PlayersSort::ByFrags);
    QCOMPARE(rows, (QVector<PlayerRow>{{"dan", 10}, {"al", 3}, {"bob", 3}, {"Bo", 0}, {"Carl", -2}}));
    QVERIFY(compareFolded(QStringLiteral("ab"), QStringLiteral("AB")) == 0);
    QVERIFY(compareFolded(QStringLiteral("ab"), QStringLiteral("abc")) < 0);
    QVERIFY(compareFolded(QStringLiteral("10/16"), QStringLiteral("9/16")) < 0);
}

void TestReplyParsing::rules_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QStringList>("flat");
    QTest::newRow("none") << bytesOf("FF FF FF FF 45 00 00") << QStringList();
    QTest::newRow("two") << bytesOf("FF FF FF FF 45 02 00 'mp_a' 00 '1' 00 'sv_b' 00 '' 00")
                         << QStringList{"mp_a", "1", "sv_b", ""};
    QTest::newRow("count above data") << bytesOf("FF FF FF FF 45 05 00 'a' 00 '1' 00") << QStringList{"a", "1"};
    QTest::newRow("value cut") << bytesOf("FF FF FF FF 45 02 00 'a' 00 '1' 00 'b' 00 '2'") << QStringList{"a", "1"};
    QTest::newRow("count cut") << bytesOf("FF FF FF FF 45 01") << QStringList();
}

void TestReplyParsing::rules()
{
    QFETCH(QByteArray, reply);
    QFETCH(QStringList, flat);
    QStringList got;
    for (const RuleRow &r : parseRules(reply))
        got << r.name << r.value;
    QCOMPARE(got, flat);
}

void TestReplyParsing::bigRuleCount()
{
    // 300 rules: the count is 16 bits, not its low byte.
    QByteArray reply = bytesOf("FF FF FF FF 45 2C 01");
    for (int i = 0; i < 300; ++i)
        reply += QStringLiteral("rule%1").arg(i).toLatin1() + '\0' + QByteArray::number(i) + '\0';
    const QVector<RuleRow> rows = parseRules(reply);
    QCOMPARE(rows.size(), 300);
    QCOMPARE(rows.last().name, QStringLiteral("rule299"));
    QCOMPARE(rows.last().value, QStringLiteral("299"));
}

QTEST_GUILESS_MAIN(TestReplyParsing)
#include "tst_replyparsing.moc"
