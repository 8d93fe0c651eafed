#include "net/ipv4.h"
#include "scan/broadcastsweep.h"
#include "scan/broadcasttargets.h"
#include "support/fixedlocaladdress.h"
#include "support/fixednetworkcards.h"

#include <QtTest>

namespace {

enum Flag { Up = 1, Running = 2, Broadcast = 4, Loopback = 8, PointToPoint = 16, Lan = Up | Running | Broadcast };

// A card's address entry from "10.77.0.2/16"; the broadcast is the netmask's.
CardAddress card(const char *name, const char *cidr, int flags = Lan)
{
    const QString text = QString::fromLatin1(cidr);
    CardAddress c;
    c.card = QString::fromLatin1(name);
    parseIpv4(text.section(u'/', 0, 0), c.address);
    const int bits = text.section(u'/', 1, 1).toInt();
    c.netmask = bits == 0 ? 0 : ~quint32(0) << (32 - bits);
    c.up = flags & Up;
    c.running = flags & Running;
    c.canBroadcast = flags & Broadcast;
    c.loopback = flags & Loopback;
    c.pointToPoint = flags & PointToPoint;
    c.broadcast = c.canBroadcast ? c.address | ~c.netmask : 0;
    return c;
}

QString portsText(const QVector<int> &ports)
{
    QStringList texts;
    for (int port : ports)
        texts << QString::number(port);
    return texts.join(u' ');
}

} // namespace

// Where a scan's broadcast goes, from the cards a test hands in.
class TestBroadcastTargets : public QObject
{
    Q_OBJECT

private slots:
    void addresses_data();
    void addresses();
    void ports_data();
    void ports();
    void targetsPortByPort();
    void repliesFromTheReachedNetworks();
};

void TestBroadcastTargets::addresses_data()
{
    QTest::addColumn<QVector<CardAddress>>("cards");
    QTest::addColumn<QString>("hostAddress"); // what the host's name resolves to
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("tooltip");

    QTest::newRow("/16") << QVector<CardAddress>{card("lan0", "10.77.0.2/16")} << "127.0.1.1"
                         << "10.77.255.255" << "10.77.255.255: lan0";
    QTest::newRow("/24 also gets its own") << QVector<CardAddress>{card("eth0", "10.78.5.2/24")} << ""
                                           << "10.78.5.255, 10.78.255.255"
                                           << "10.78.5.255: eth0\n10.78.255.255: eth0";
    QTest::newRow("/8 virtual LAN") << QVector<CardAddress>{card("zt0", "10.147.17.5/8")} << ""
                                    << "10.147.255.255, 10.255.255.255"
                                    << "10.147.255.255: zt0\n10.255.255.255: zt0";
    QTest::newRow("two cards, sorted")
        << QVector<CardAddress>{card("eth1", "10.78.5.2/24"), card("eth0", "10.77.0.2/16")} << ""
        << "10.77.255.255, 10.78.5.255, 10.78.255.255"
        << "10.77.255.255: eth0\n10.78.5.255: eth1\n10.78.255.255: eth1";
    QTest::newRow("down, not running, point-to-point, loopback, no broadcast skipped")
        << QVector<CardAddress>{card("lo", "127.0.0.1/8", Up | Running | Loopback),
                                card("down0", "10.1.0.2/16", Broadcast),
                                card("idle0", "10.2.0.2/16", Up | Broadcast),
                                card("ppp0", "10.3.0.2/32", Up | Running | PointToPoint),
                                card("wg0", "10.4.0.2/24", Up | Running),
                                card("lo2", "10.5.0.2/16", Lan | Loopback),
                                card("eth0", "192.168.1.7/24")}
        << "10.9.9.9" << "192.168.1.255, 192.168.255.255" << "192.168.1.255: eth0\n192.168.255.255: eth0";
    QTest::newRow("duplicates once, with every card")
        << QVector<CardAddress>{card("a", "10.77.0.2/16"), card("b", "10.77.0.3/16"), card("a", "10.77.9.9/16")}
        << "" << "10.77.255.255" << "10.77.255.255: a, b";
    QTest::newRow("loopback only: the host's own address")
        << QVector<CardAddress>{card("lo", "127.0.0.1/8", Up | Running | Loopback)} << "192.168.1.7"
        << "192.168.255.255" << "192.168.255.255";
    QTest::newRow("no card and no address") << QVector<CardAddress>{} << ""
                                            << "no network card that can broadcast" << "";
    QTest::newRow("no card and a name that is no address") << QVector<CardAddress>{} << "myhost"
                                                           << "no network card that can broadcast" << "";
}

void TestBroadcastTargets::addresses()
{
    QFETCH(QVector<CardAddress>, cards);
    QFETCH(QString, hostAddress);
    QFETCH(QString, line);
    QFETCH(QString, tooltip);
    FixedNetworkCards fixed(cards);
    FixedLocalAddress local(hostAddress);
    const QVector<BroadcastAddress> addresses = currentBroadcasts(fixed, local);
    QCOMPARE(broadcastLine(addresses), line);
    QCOMPARE(broadcastCardsText(addresses), tooltip);
}

void TestBroadcastTargets::ports_data()
{
    QTest::addColumn<int>("scanPort");
    QTest::addColumn<bool>("hltvScan");
    QTest::addColumn<bool>("lanPorts");
    QTest::addColumn<QString>("ports");
    QTest::newRow("game port, LAN ports on") << 27015 << false << true << "27015 27016 27017 27018 27019";
    QTest::newRow("game port, LAN ports off") << 27015 << false << false << "27015";
    QTest::newRow("game port among them") << 27017 << false << true << "27017 27015 27016 27018 27019";
    QTest::newRow("other game port first") << 27100 << false << true << "27100 27015 27016 27017 27018 27019";
    QTest::newRow("HLTV scan: its port only") << 27020 << true << true << "27020";
}

void TestBroadcastTargets::ports()
{
    QFETCH(int, scanPort);
    QFETCH(bool, hltvScan);
    QFETCH(bool, lanPorts);
    QFETCH(QString, ports);
    QCOMPARE(portsText(broadcastPorts(scanPort, hltvScan, lanPorts)), ports);
}

void TestBroadcastTargets::targetsPortByPort()
{
    const QVector<BroadcastAddress> addresses = cardBroadcasts({card("eth0", "10.78.5.2/24")});
    QStringList texts;
    for (const BroadcastTarget &t : broadcastTargets(addresses, {27015, 27016}))
        texts << ipv4Text(t.address) + u':' + QString::number(t.port);
    QCOMPARE(texts, (QStringList{"10.78.5.255:27015", "10.78.255.255:27015", "10.78.5.255:27016",
                                 "10.78.255.255:27016"}));
    QVERIFY(broadcastTargets({}, {27015}).isEmpty());
}

void TestBroadcastTargets::repliesFromTheReachedNetworks()
{
    const QVector<BroadcastAddress> addresses =
        cardBroadcasts({card("eth0", "10.78.5.2/24"), card("zt0", "10.147.17.5/8")});
    const auto reached = [&](const char *text) {
        quint32 address = 0;
        parseIpv4(QString::fromLatin1(text), address);
        return reachedByBroadcast(addresses, address);
    };
    QVERIFY(reached("10.78.5.9"));
    QVERIFY(reached("10.78.200.1")); // the /16 broadcast reaches it too
    QVERIFY(reached("10.3.0.1"));    // within the /8
    QVERIFY(!reached("192.168.1.5"));
    QVERIFY(!reachedByBroadcast({}, 0x0A000001));
}

QTEST_GUILESS_MAIN(TestBroadcastTargets)
#include "tst_broadcasttargets.moc"
