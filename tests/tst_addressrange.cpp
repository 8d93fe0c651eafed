#include "scan/addressrange.h"
#include "scan/localaddress.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

// The walk as runs of one block, "a.b.k.first-last", to compare whole sequences.
QStringList runsOf(RangeWalker walker)
{
    QStringList runs;
    quint32 address, previous = 0;
    bool open = false;
    while (walker.next(address)) {
        if (open && address == previous + 1 && (address & 0xFF) != 0) {
            previous = address;
            continue;
        }
        if (open)
            runs.last() += QString::number(previous & 0xFF);
        runs << ipv4Text(address) + QLatin1Char('-');
        previous = address;
        open = true;
    }
    if (open)
        runs.last() += QString::number(previous & 0xFF);
    return runs;
}

quint32 ip(const char *text)
{
    quint32 address = 0;
    if (!parseIpv4(QString::fromLatin1(text), address))
        qFatal("bad fixture address %s", text);
    return address;
}

} // namespace

class TestAddressRange : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<quint32>("address");
        QTest::newRow("plain") << "10.0.1.5" << true << 0x0A000105u;
        QTest::newRow("zeros") << "0.0.0.0" << true << 0u;
        QTest::newRow("max") << "255.255.255.255" << true << 0xFFFFFFFFu;
        QTest::newRow("empty") << "" << false << 0u;
        QTest::newRow("three fields") << "10.0.1" << false << 0u;
        QTest::newRow("five fields") << "10.0.1.5.6" << false << 0u;
        QTest::newRow("empty field") << "10..1.5" << false << 0u;
        QTest::newRow("trailing dot") << "10.0.1.5." << false << 0u;
        QTest::newRow("256") << "10.0.1.256" << false << 0u;
        QTest::newRow("four digits") << "0010.0.1.5" << false << 0u;
        QTest::newRow("blank") << "10.0.1.5 " << false << 0u;
        QTest::newRow("sign") << "-1.0.1.5" << false << 0u;
        QTest::newRow("letter") << "10.0.x.5" << false << 0u;
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(quint32, address);
        quint32 parsed = 12345;
        QCOMPARE(parseIpv4(text, parsed), ok);
        QCOMPARE(parsed, ok ? address : 12345u);
        if (ok)
            QCOMPARE(ipv4Text(parsed), text);
    }

    void enumerate_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QStringList>("runs");
        QTest::newRow("three blocks") << "10.0.1.5" << "10.0.3.20"
            << QStringList{"10.0.1.5-254", "10.0.2.5-254", "10.0.3.5-20"};
        QTest::newRow("one address") << "10.0.3.20" << "10.0.3.20" << QStringList{"10.0.3.20-20"};
        QTest::newRow("fourth field reversed") << "10.0.3.20" << "10.0.3.10" << QStringList{};
        QTest::newRow("third field reversed") << "10.0.3.1" << "10.0.2.200" << QStringList{};
        QTest::newRow("last bound below start") << "10.0.1.5" << "10.0.2.3" << QStringList{"10.0.1.5-254"};
        QTest::newRow("255 only as To") << "10.0.1.250" << "10.0.2.255"
            << QStringList{"10.0.1.250-254", "10.0.2.250-255"};
        QTest::newRow("From ends in 255") << "10.0.1.255" << "10.0.3.255" << QStringList{"10.0.3.255-255"};
        QTest::newRow("To's first fields unused") << "10.0.1.1" << "99.98.1.3" << QStringList{"10.0.1.1-3"};
        QTest::newRow("whole block") << "192.168.0.0" << "192.168.0.255" << QStringList{"192.168.0.0-255"};
        QTest::newRow("bad From") << "10.0.1" << "10.0.1.9" << QStringList{};
        QTest::newRow("bad To") << "10.0.1.1" << "10.0.1.x" << QStringList{};
    }
    void enumerate()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QStringList, runs);
        QCOMPARE(runsOf(RangeWalker(from, to)), runs);

        int walked = 0;
        forEachRangeAddress(RangeWalker(from, to), [&](quint32) { ++walked; });
        QCOMPARE(rangeAddressCount(from, to), walked);
    }

    void largestRanges_data()
    {
        QTest::addColumn<QString>("to");
        QTest::addColumn<int>("count");
        QTest::newRow("255 blocks, dialog limit") << "10.0.254.255" << 254 * 255 + 256;
        QTest::newRow("256 blocks to .254") << "10.0.255.254" << 65280;
        QTest::newRow("256 blocks to .255") << "10.0.255.255" << 65281;
    }
    void largestRanges()
    {
        QFETCH(QString, to);
        QFETCH(int, count);
        QCOMPARE(rangeAddressCount(QStringLiteral("10.0.0.0"), to), count);
        quint32 first = 0, last = 0;
        int walked = 0;
        forEachRangeAddress(RangeWalker(ip("10.0.0.0"), ip(qPrintable(to))), [&](quint32 a) {
            if (walked++ == 0)
                first = a;
            last = a;
        });
        QCOMPARE(walked, count);
        QCOMPARE(ipv4Text(first), QStringLiteral("10.0.0.0"));
        QCOMPARE(ipv4Text(last), to);
    }

    void countMatchesWalkForRandomRanges()
    {
        QRandomGenerator random(20240611);
        for (int i = 0; i < 2000; ++i) {
            const quint32 from = random.generate();
            // Mostly short spans so that many blocks end before, at and after d.
            const quint32 third = i % 10 == 0 ? random.bounded(256)
                                              : (((from >> 8) & 0xFF) + random.bounded(4)) & 0xFF;
            const quint32 to = (random.generate() & 0xFFFF00FFu) | third << 8;
            int walked = 0;
            bool prefixKept = true;
            forEachRangeAddress(RangeWalker(from, to), [&](quint32 a) {
                prefixKept = prefixKept && (a & 0xFFFF0000u) == (from & 0xFFFF0000u);
                ++walked;
            });
            QVERIFY(prefixKept);
            QVERIFY2(rangeAddressCount(from, to) == walked,
                     qPrintable(ipv4Text(from) + " - " + ipv4Text(to)));
        }
    }

    void nthField_data()
    {
        QTest::addColumn<QString>("delimiter");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("field");
        QTest::newRow("first") << "." << "192.168.1.7" << 1 << "192";
        QTest::newRow("second") << "." << "192.168.1.7" << 2 << "168";
        QTest::newRow("last, no trailing delimiter") << "." << "192.168.1.7" << 4 << "7";
        QTest::newRow("past the end") << "." << "192.168.1.7" << 5 << "";
        QTest::newRow("zero") << "." << "192.168.1.7" << 0 << "";
        QTest::newRow("trailing delimiter") << "." << "a.b." << 2 << "b";
        QTest::newRow("no field after trailing") << "." << "a.b." << 3 << "";
        QTest::newRow("empty field") << "." << "a..b" << 2 << "";
        QTest::newRow("after empty field") << "." << "a..b" << 3 << "b";
        QTest::newRow("no delimiter") << "." << "abc" << 1 << "abc";
        QTest::newRow("empty text") << "." << "" << 1 << "";
        QTest::newRow("long delimiter") << ", " << "x, y,z, w" << 2 << "y,z";
    }
    void nthField()
    {
        QFETCH(QString, delimiter);
        QFETCH(QString, text);
        QFETCH(int, n);
        QFETCH(QString, field);
        QCOMPARE(NthField(delimiter, text, n), field);
    }

    void systemAddressIsIpv4OrEmpty()
    {
        const QString address = SystemLocalAddress().hostAddress();
        quint32 parsed;
        QVERIFY2(address.isEmpty() || parseIpv4(address, parsed), qPrintable(address));
    }
};

QTEST_GUILESS_MAIN(TestAddressRange)
#include "tst_addressrange.moc"
