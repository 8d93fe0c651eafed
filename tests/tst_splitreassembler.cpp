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
    void strayFirstPieceIsNeverUsed_data();
    void strayFirstPieceIsNeverUsed();
    void floodersCannotStarveAServer_data();
    void floodersCannotStarveAServer();
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

void TestSplitReassembler::strayFirstPieceIsNeverUsed_data()
{
    QTest::addColumn<bool>("source");
    QTest::addColumn<QByteArray>("strayPiece");
    // A fragment numbered 0 whose piece does not carry the reply header, from
    // the same sender and with the same id, arriving before the real one.
    QTest::newRow("goldsrc, forged players") << false << bytesOf("00 FF FF FF 44 01 00 'evil' 00 07 00 00 00 00 00 00 00");
    QTest::newRow("source, forged players") << true << bytesOf("00 FF FF FF 44 01 00 'evil' 00 07 00 00 00 00 00 00 00");
    QTest::newRow("goldsrc, split marker") << false << bytesOf("FE FF FF FF 01 00 00 00 02 'xyz'");
    QTest::newRow("source, stale text") << true << QByteArray("stale rules of an earlier reply");
}

void TestSplitReassembler::strayFirstPieceIsNeverUsed()
{
    QFETCH(bool, source);
    QFETCH(QByteArray, strayPiece);
    const QByteArray whole = wholeReply(2000);
    const auto parts = source ? cutSource(whole, 21, 1248) : cutGoldSrc(whole, 21, 1391);
    const QByteArray stray = source ? header(21) + bytesOf("02 00 E0 04") + strayPiece : header(21) + char(0x02) + strayPiece;
    SplitReassembler r;
    QVERIFY(!r.add(1, 1, stray, 0));
    QVERIFY(!r.add(1, 1, parts[1], 0));
    const auto done = r.add(1, 1, parts[0], 0);
    QVERIFY(done);
    QCOMPARE(*done, whole);
}

void TestSplitReassembler::floodersCannotStarveAServer_data()
{
    QTest::addColumn<int>("flooders");
    QTest::addColumn<int>("setsEach");
    QTest::addColumn<int>("fragmentBytes");
    QTest::addColumn<bool>("betweenFragments");
    QTest::newRow("one sender holds 64 sets") << 1 << 64 << 20 << false;
    QTest::newRow("one sender opens sets between the fragments") << 1 << 1000 << 20 << true;
    QTest::newRow("many senders, one set each") << 100 << 1 << 20 << false;
    QTest::newRow("many senders between the fragments") << 200 << 1 << 20 << true;
    QTest::newRow("senders holding several sets") << 100 << 4 << 20 << true;
    QTest::newRow("huge fragments") << 50 << 4 << 60000 << true;
}

void TestSplitReassembler::floodersCannotStarveAServer()
{
    QFETCH(int, flooders);
    QFETCH(int, setsEach);
    QFETCH(int, fragmentBytes);
    QFETCH(bool, betweenFragments);
    const QByteArray whole = wholeReply(4000);
    const auto parts = cutGoldSrc(whole, 77, 1391);
    constexpr quint32 Server = 0x7F000002;
    SplitReassembler r;
    const auto flood = [&] {
        // Fragment 1 of 2 never completes: its first fragment never comes.
        for (int set = 0; set < setsEach; ++set) {
            for (int f = 0; f < flooders; ++f) {
                const QByteArray fragment = header(quint32(set)) + char(0x12) + QByteArray(fragmentBytes, 'f');
                QVERIFY(!r.add(0x7F000063, quint16(1000 + f), fragment, 0));
                QVERIFY(r.pendingSets() <= SplitReassembler::MaxSets);
                QVERIFY(r.pendingBytes() <= SplitReassembler::MaxBytes);
            }
        }
    };
    if (!betweenFragments)
        flood();
    QVERIFY(!r.add(Server, 27015, parts[0], 0));
    if (betweenFragments)
        flood();
    QVERIFY(!r.add(Server, 27015, parts[1], 0));
    const auto done = r.add(Server, 27015, parts[2], 0);
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
