// The scanning side of the LAN test. tests/lan/lan-test builds a LAN of network
// namespaces and runs this program inside the scanning namespace, whose only
// interfaces are the test's two segments (and its own loopback).
//
// Network safety: tests send datagrams only to loopback and to namespaces they
// made themselves. This program broadcasts through every card it sees, so it
// first makes sure that every card it sees belongs to the test's segments
// (VANTOR_LAN_NETS) and refuses to run anywhere else: it never broadcasts on
// the machine's own network card.

#include "net/ipv4.h"
#include "net/networkcards.h"
#include "net/udpendpoint.h"
#include "query/queryprotocol.h"
#include "scan/autoconnectstate.h"
#include "scan/broadcasttargets.h"
#include "scan/localaddress.h"
#include "scan/scanengine.h"
#include "scan/serverlistmodel.h"
#include "serverconfig.h"
#include "settings/settingsmodel.h"
#include "support/fixedlocaladdress.h"
#include "support/fixednetworkcards.h"
#include "support/recordingprompter.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTimer>
#include <QtTest>

#include <algorithm>

namespace {

// "address:port" -> "name|map|players/max", as the servers were configured.
using ServerTable = QMap<QString, QString>;

QString entry(const QString &name, const QString &map, int players, int maxPlayers)
{
    return QStringLiteral("%1|%2|%3/%4").arg(name, map).arg(players).arg(maxPlayers);
}

// VANTOR_LAN_SERVERS: "ADDRESS=CONFIG.json" items joined by ';', one per
// server host, each config as the host's emulator serves it on 0.0.0.0.
bool readExpected(ServerTable &table, QString &problem)
{
    const QString items = qEnvironmentVariable("VANTOR_LAN_SERVERS");
    for (const QString &item : items.split(u';', Qt::SkipEmptyParts)) {
        const QString address = item.section(u'=', 0, 0);
        QFile file(item.section(u'=', 1));
        if (!file.open(QIODevice::ReadOnly)) {
            problem = QStringLiteral("cannot read %1").arg(file.fileName());
            return false;
        }
        const auto farm = parseFarmConfig(QJsonDocument::fromJson(file.readAll()).object(), &problem,
                                          AddressScope::AnyAddress);
        if (!farm)
            return false;
        for (const ServerConfig &s : farm->servers)
            table.insert(QStringLiteral("%1:%2").arg(address).arg(s.port),
                         entry(QString::fromUtf8(s.name), QString::fromUtf8(s.map), s.players, s.maxPlayers));
    }
    if (table.isEmpty())
        problem = QStringLiteral("VANTOR_LAN_SERVERS names no server");
    return !table.isEmpty();
}

// Whether every card that could carry a broadcast lies in one of the
// "ADDRESS/BITS" networks of VANTOR_LAN_NETS.
bool onlyTheTestsCards(QString &stranger)
{
    QVector<QPair<quint32, quint32>> nets;
    for (const QString &net : qEnvironmentVariable("VANTOR_LAN_NETS").split(u' ', Qt::SkipEmptyParts)) {
        quint32 address = 0;
        const int bits = net.section(u'/', 1).toInt();
        if (parseIpv4(net.section(u'/', 0, 0), address) && bits > 0 && bits <= 32)
            nets.append({address, ~quint32(0) << (32 - bits)});
    }
    for (const CardAddress &card : SystemNetworkCards().addresses()) {
        if (card.loopback)
            continue;
        const bool known = std::any_of(nets.begin(), nets.end(), [&](const QPair<quint32, quint32> &net) {
            return (card.address & net.second) == (net.first & net.second);
        });
        if (!known) {
            stranger = card.card + u' ' + ipv4Text(card.address);
            return false;
        }
    }
    return !nets.isEmpty();
}

CardAddress unroutedCard()
{
    CardAddress c;
    c.card = QStringLiteral("nowhere0");
    parseIpv4(u"10.99.0.1", c.address);
    c.netmask = 0xFFFF0000;
    c.broadcast = c.address | 0xFFFF;
    c.up = c.running = c.canBroadcast = true;
    return c;
}

} // namespace

class LanScan : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    // Each sweep's engine refers to the cards of its test function.
    void cleanup() { engine.reset(); }
    void scanListsEveryServerOfBothSegments();
    void noDatagramLeavesIsANetworkError();
    void toolListsTheSame();

private:
    // A sweep with "Broadcast" on and nothing else, the way a player at a LAN party starts.
    ServerListModel &sweep(NetworkCards &cards, LocalAddressProvider &local);

    ServerTable expected;
    SettingsModel settings;
    AutoConnectState autoConnect;
    RecordingPrompter prompter;
    std::unique_ptr<UdpEndpoint> udp;
    std::unique_ptr<QueryProtocol> protocol;
    std::unique_ptr<ServerListModel> servers;
    ScanControls controls;
    std::unique_ptr<ScanEngine> engine;
};

void LanScan::initTestCase()
{
    QString stranger;
    QVERIFY2(onlyTheTestsCards(stranger),
             qPrintable(QStringLiteral("not inside the LAN test's namespace (card %1, VANTOR_LAN_NETS \"%2\"): "
                                       "refusing to broadcast")
                            .arg(stranger, qEnvironmentVariable("VANTOR_LAN_NETS"))));
    QString problem;
    QVERIFY2(readExpected(expected, problem), qPrintable(problem));
    settings.broadcast = true;
    settings.scanOld = true; // the old-protocol server answers only its own request
    settings.delay = 0;
}

ServerListModel &LanScan::sweep(NetworkCards &cards, LocalAddressProvider &local)
{
    controls = ScanControls();
    servers.reset();
    protocol.reset();
    udp = std::make_unique<UdpEndpoint>(0);
    protocol = std::make_unique<QueryProtocol>(*udp, [this] { return settings.scanOld; });
    servers = std::make_unique<ServerListModel>(settings, autoConnect);
    connect(protocol.get(), &QueryProtocol::serverInfoReceived, servers.get(), &ServerListModel::addOrUpdate);
    engine = std::make_unique<ScanEngine>(*protocol, *servers, settings, autoConnect, local, cards, prompter, controls);
    engine->scanAll();
    const QTimer *timer = engine->findChild<QTimer *>(QStringLiteral("SweepTimer"));
    while (engine->sweepRunning() && timer->isActive())
        engine->sweepStep();
    return *servers;
}

void LanScan::scanListsEveryServerOfBothSegments()
{
    SystemNetworkCards cards;
    // Both segments' own broadcasts and the /24's x.y.255.255, which has no
    // route here: that one is refused and skipped.
    QCOMPARE(broadcastLine(cardBroadcasts(cards.addresses())),
             QStringLiteral("10.77.255.255, 10.78.5.255, 10.78.255.255"));
    SystemLocalAddress local;
    ServerListModel &list = sweep(cards, local);
    QCOMPARE(controls.activityPanel(), QStringLiteral(" Scan complete"));
    QCOMPARE(controls.sentPanel(), QStringLiteral("1"));
    QCOMPARE(controls.messagePanel(), QString());

    QTRY_COMPARE_WITH_TIMEOUT(list.rowCount(), int(expected.size()), 20000);
    ServerTable listed;
    for (int i = 0; i < list.rowCount(); ++i) {
        const ServerRow &row = list.row(i);
        listed.insert(row.address + u':' + row.portText, entry(row.name, row.map, row.players, row.maxPlayers));
    }
    QCOMPARE(listed, expected);
}

void LanScan::noDatagramLeavesIsANetworkError()
{
    // A card whose network has no route in this namespace: the system refuses
    // every datagram, and the broadcast step fails.
    FixedNetworkCards nowhere({unroutedCard()});
    FixedLocalAddress local{QString()};
    sweep(nowhere, local);
    QCOMPARE(controls.messagePanel(), QStringLiteral(" Network error..."));
    QCOMPARE(controls.sentPanel(), QStringLiteral("0"));
}

void LanScan::toolListsTheSame()
{
    QProcess tool;
    tool.start(QStringLiteral(VANTOR_QUERY_TOOL), {"--lan", "--json", "--old", "--timeout", "1000"});
    QVERIFY(tool.waitForStarted());
    QVERIFY(QTest::qWaitFor([&] { return tool.state() == QProcess::NotRunning; }, 30000));
    const QByteArray errors = tool.readAllStandardError();
    QCOMPARE(tool.exitCode(), 0);
    QVERIFY2(errors.isEmpty(), errors.constData());
    ServerTable listed;
    for (const QByteArray &line : tool.readAllStandardOutput().split('\n')) {
        if (line.isEmpty())
            continue;
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        const QString key = o.value("address").toString() + u':' + QString::number(o.value("port").toInt());
        QVERIFY2(!listed.contains(key), qPrintable(key + QStringLiteral(" listed twice")));
        listed.insert(key, entry(o.value("name").toString(), o.value("map").toString(), o.value("players").toInt(),
                                 o.value("maxPlayers").toInt()));
    }
    QCOMPARE(listed, expected);
}

QTEST_GUILESS_MAIN(LanScan)
#include "lanscan.moc"
