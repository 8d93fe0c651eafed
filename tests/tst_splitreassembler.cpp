#include "query/splitreassembler.h"
#include "support/testsupport.h"

#include <QtEndian>
#include <QtTest>
#include <algorithm>

namespace {

QByteArray wholeReply(int size)
{
    QByteArray r = bytesOf("FF FF FF FF 45");
    while (r.size() < size)
        r += char('a' + r.size() % 26);
    return r;
}

QByteArray header(quint32 id)
{
    QByteArray h = bytesOf("FE FF FF FF");
    char le[4];
    qToLittleEndian(id, le);
    h.append(le, 4);
    return h;
}

QVector<QByteArray> cutGoldSrc(const QByteArray &whole, quint32 id, int piece)
{
    QVector<QByteArray> out;
    const int count = int((whole.size() + piece - 1) / piece);
    for (int n = 0; n < count; ++n)
        out << header(id) + char((n << 4) | count) + whole.mid(n * piece, piece);
    return out;
}

QVector<QByteArray> cutSource(const QByteArray &whole, quint32 id, int piece)
{
    QVector<QByteArray> out;
    const int count = int((whole.size() + piece - 1) / piece);
    for (int n = 0; n < count; ++n)
        out << header(id) + char(count) + char(n) + char(piece & 0xFF) + char(piece >> 8) + whole.mid(n * piece, piece);
    return out;
}

} // namespace

class TestSplitReassembler : public QObject
{
    Q_OBJECT

private slots:
    void anyOrder_data();
    void anyOrder();
    void interleavedSetsStaySeparate();
    void duplicatesAndStrays();
    void compressedSetsAreDropped();
    void incompleteSetsExpire();
};

void TestSplitReassembler::anyOrder_data()
{
    QTest::addColumn<bool>("source");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("piece");
    QTest::addColumn<QVector<int>>("order");
    QTest::newRow("goldsrc two in order") << false << 2000 << 1391 << QVector<int>{0, 1};
    QTest::newRow("goldsrc last first") << false << 2000 << 1391 << QVector<int>{1, 0};
    QTest::newRow("goldsrc five shuffled") << false << 6000 << 1391 << QVector<int>{3, 1, 4, 0, 2};
    QTest::newRow("goldsrc fifteen") << false << 15 * 100 << 100 << QVector<int>{14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
    QTest::newRow("goldsrc one") << false << 500 << 1391 << QVector<int>{0};
    QTest::newRow("source five") << true << 5723 << 1248 << QVector<int>{0, 1, 2, 3, 4};
    QTest::newRow("source reversed") << true << 5723 << 1248 << QVector<int>{4, 3, 2, 1, 0};
    QTest::newRow("source first last") << true << 4900 << 1248 << QVector<int>{1, 2, 3, 0};
}

void TestSplitReassembler::anyOrder()
{
    QFETCH(bool, source);
    QFETCH(int, size);
    QFETCH(int, piece);
    QFETCH(QVector<int>, order);
    const QByteArray whole = wholeReply(size);
    const QVector<QByteArray> parts = source ? cutSource(whole, 828, piece) : cutGoldSrc(whole, 100, piece);
    QCOMPARE(parts.size(), order.size());

    SplitReassembler r;
    for (int i = 0; i < order.size(); ++i) {
        const auto result = r.add(0x7F000001, 27015, parts[order[i]], 0);
        if (i + 1 < order.size()) {
            QVERIFY2(!result, "nothing is shown before the last fragment");
        } else {
            QVERIFY(result);
            QCOMPARE(*result, whole);
        }
    }
    QCOMPARE(r.pendingSets(), 0);
}

void TestSplitReassembler::interleavedSetsStaySeparate()
{
    const QByteArray a = wholeReply(3000), b = wholeReply(2500) + "zz";
    const auto pa = cutGoldSrc(a, 7, 1391);
    const auto pb = cutGoldSrc(b, 7, 1391); // same id, another server
    const auto pc = cutSource(b, 8, 1248);  // another id, same server

    SplitReassembler r;
    QVERIFY(!r.add(1, 27015, pa[0], 0));
    QVERIFY(!r.add(2, 27015, pb[1], 0));
    QVERIFY(!r.add(1, 27015, pc[0], 0));
    QVERIFY(!r.add(1, 27015, pa[2], 0));
    const auto doneB = r.add(2, 27015, pb[0], 0);
    QVERIFY(doneB);
    QCOMPARE(*doneB, b);
    QVERIFY(!r.add(1, 27015, pc[1], 0));
    const auto doneA = r.add(1, 27015, pa[1], 0);
    QVERIFY(doneA);
    QCOMPARE(*doneA, a);
    const auto doneC = r.add(1, 27015, pc[2], 0);
    QVERIFY(doneC);
    QCOMPARE(*doneC, b);
}

void TestSplitReassembler::duplicatesAndStrays()
{
    const QByteArray whole = wholeReply(3000);
    const auto parts = cutGoldSrc(whole, 9, 1391);
    SplitReassembler r;
    QVERIFY(!r.add(1, 1, parts[1], 0));
    QVERIFY(!r.add(1, 1, parts[1], 0));
    QVERIFY(!r.add(1, 1, bytesOf("FE FF FF FF 09 00 00 00"), 0)); // too short to be a fragment
    QVERIFY(!r.add(1, 1, parts[0], 0));
    const auto done = r.add(1, 1, parts[2], 0);
    QVERIFY(done);
    QCOMPARE(*done, whole);
}

void TestSplitReassembler::compressedSetsAreDropped()
{
    const QByteArray whole = wholeReply(2000);
    const auto parts = cutSource(whole, 0x80000005u, 1248);
    SplitReassembler r;
    for (const QByteArray &p : parts)
        QVERIFY(!r.add(1, 1, p, 0));
    QCOMPARE(r.pendingSets(), 0);
}

void TestSplitReassembler::incompleteSetsExpire()
{
    const QByteArray whole = wholeReply(3000);
    const auto parts = cutGoldSrc(whole, 11, 1391);
    SplitReassembler r;
    QVERIFY(!r.add(1, 1, parts[0], 0));
    QVERIFY(!r.add(1, 1, parts[1], 1000));
    // Past the age limit the set is gone: its last fragment alone completes nothing.
    QVERIFY(!r.add(1, 1, parts[2], SplitReassembler::MaxAgeMs + 1));
    QCOMPARE(r.pendingSets(), 1);
    QVERIFY(!r.add(2, 1, bytesOf("FE FF FF FF 01 00 00 00 12 'x'"), 3 * SplitReassembler::MaxAgeMs));
    QCOMPARE(r.pendingSets(), 1);
}

QTEST_GUILESS_MAIN(TestSplitReassembler)
#include "tst_splitreassembler.moc"
