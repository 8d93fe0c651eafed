#include "query/challengetable.h"
#include "query/pingtable.h"

#include <QtTest>

// Which challenge replies are answered, and how often, as time goes by; and
// which request a reply's ping counts from.
class TestChallengeTable : public QObject
{
    Q_OBJECT

private slots:
    void twoAnswersPerRequest();
    void requestsExpire();
    void detailsAndInfoAreSeparate();
    void broadcastArmsEachServerOnce();
    void broadcastThroughSeveralCardsKeepsPings();
};

void TestChallengeTable::twoAnswersPerRequest()
{
    ChallengeTable t;
    t.infoSent(1, 27015, 0); // the very first millisecond counts too
    QVERIFY(t.challenged(1, 27015, 0).info);
    QVERIFY(t.challenged(1, 27015, 1).info);
    QVERIFY(!t.challenged(1, 27015, 2).info);
    t.infoSent(1, 27015, 3);
    QVERIFY(t.challenged(1, 27015, 4).info);
    QVERIFY(!t.challenged(2, 27015, 4).info);
    QVERIFY(!t.challenged(1, 27016, 4).info);
}

void TestChallengeTable::requestsExpire()
{
    ChallengeTable t;
    t.infoSent(1, 1, 100);
    QVERIFY(!t.challenged(1, 1, 100 + ChallengeTable::WindowMs).info);
    t.infoSent(1, 1, 20000);
    QVERIFY(t.challenged(1, 1, 20000 + ChallengeTable::WindowMs - 1).info);
    // Old entries are dropped as new requests go out.
    t.infoSent(2, 1, 40000);
    QCOMPARE(t.size(), 1);
}

void TestChallengeTable::detailsAndInfoAreSeparate()
{
    ChallengeTable t;
    t.detailsSent(1, 1, 10);
    ChallengeTable::Answer a = t.challenged(1, 1, 11);
    QVERIFY(a.details);
    QVERIFY(!a.info);
    t.infoSent(1, 1, 12);
    a = t.challenged(1, 1, 13);
    QVERIFY(a.details && a.info);
    a = t.challenged(1, 1, 14);
    QVERIFY(!a.details && a.info);
}

void TestChallengeTable::broadcastArmsEachServerOnce()
{
    ChallengeTable t;
    QVERIFY(!t.challenged(5, 27015, 1).info);
    t.broadcastSent(27015, 2);
    QVERIFY(t.challenged(5, 27015, 3).info);
    QVERIFY(t.challenged(5, 27015, 4).info);
    QVERIFY(!t.challenged(5, 27015, 5).info);
    QVERIFY(t.challenged(6, 27015, 5).info);
    QVERIFY(!t.challenged(7, 27020, 5).info);
    QVERIFY(!t.challenged(8, 27015, 2 + ChallengeTable::WindowMs).info);
}

// The ping table beside it: a broadcast sent through three cards, one after
// another, and a server that answered the first send before the others left.
void TestChallengeTable::broadcastThroughSeveralCardsKeepsPings()
{
    constexpr qint64 Ms = 1'000'000;
    PingTable p;
    p.broadcastSent(27015, 100 * Ms);
    p.broadcastSent(27015, 103 * Ms);
    p.broadcastSent(27015, 105 * Ms);
    QCOMPARE(p.replied(1, 27015, 102 * Ms), 2);  // heard the first
    QCOMPARE(p.replied(2, 27015, 104 * Ms), 1);  // the second, at the latest
    QCOMPARE(p.replied(3, 27015, 109 * Ms), 4);  // after all: not too long
    QCOMPARE(p.replied(4, 27016, 109 * Ms), -1); // no broadcast on its port
    p.infoSent(3, 27015, 110 * Ms);
    QCOMPARE(p.replied(3, 27015, 111 * Ms), 1); // asked alone later
}

QTEST_GUILESS_MAIN(TestChallengeTable)
#include "tst_challengetable.moc"
