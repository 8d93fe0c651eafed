#include "scan/autoconnectstate.h"
#include "net/ipv4.h"
#include "net/udpendpoint.h"
#include "query/queryprotocol.h"
#include "support/fixedlocaladdress.h"
#include "support/fixednetworkcards.h"
#include "scan/scanengine.h"
#include "scan/serverlistmodel.h"
#include "serverfarm.h"
#include "settings/settingsmodel.h"
#include "support/recordingprompter.h"
#include "support/testsupport.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QNetworkDatagram>
#include <QUdpSocket>
#include <QtTest>

namespace {

// Servers 127.0.70.<first>.. on one port, each of a plain Source game.
QJsonObject farmConfig(int first, int count, int port)
{
    QJsonArray servers;
    for (int i = 0; i < count; ++i) {
        servers.append(QJsonObject{{"address", QStringLiteral("127.0.70.%1").arg(first + i)},
                                   {"port", port},
                                   {"name", QStringLiteral("server %1").arg(first + i)},
                                   {"gameDir", "cstrike"},
                                   {"description", "Counter-Strike: Source"},
                                   {"maxPlayers", 16},
                                   {"players", i % 17}});
    }
    return QJsonObject{{"servers", servers}};
}

ServerInfo fakeInfo(int i)
{
    ServerInfo info;
    info.gameDir = QStringLiteral("tf");
    info.hostName = QStringLiteral("row %1").arg(i);
    info.address = QStringLiteral("127.0.71.%1").arg(i % 250);
    info.port = 27015 + i / 250;
    info.maxPlayers = 24;
    return info;
}

// Records where each datagram would go instead of sending it, and refuses the
// addresses it is told to, as the system does without a route.
class RecordingSocket : public DatagramSocket
{
public:
    RecordingSocket(QStringList *log, const QSet<quint32> *refuse) : sent(log), refused(refuse) { }
    bool bind(quint16) override { return true; }
    int localPort() const override { return 27005; }
    int errorCode() const override { return 0; }
    bool send(const char *, int length, quint32 address, quint16 port) override
    {
        if (refused->contains(address))
            return false;
        *sent << QStringLiteral("%1:%2 %3").arg(ipv4Text(address)).arg(port).arg(length);
        return true;
    }
    bool read(ReceivedDatagram &) override { return false; }
    void close() override { }
    void lookupHost(const QString &, std::function<void(quint32)> done) override { done(0); }

private:
    QStringList *sent;
    const QSet<quint32> *refused;
};

CardAddress lanCard(const char *name, quint32 address, quint32 netmask)
{
    CardAddress c;
    c.card = QString::fromLatin1(name);
    c.address = address;
    c.netmask = netmask;
    c.broadcast = address | ~netmask;
    c.up = c.running = c.canBroadcast = true;
    return c;
}

// Every step of a sweep, by calling its timer's slot while one is due.
void stepToTheEnd(ScanEngine &scan)
{
    const QTimer *timer = scan.findChild<QTimer *>(QStringLiteral("SweepTimer"));
    while (scan.sweepRunning() && timer->isActive())
        scan.sweepStep();
}

} // namespace

// The sweep, Stop, Refresh, the countdown and the network-error path, with the
// real endpoint and protocol against emulated servers on loopback.
class TestScanEngine : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void checksWarnAndOpenSettings_data();
    void checksWarnAndOpenSettings();
    void allRangesUncheckedSendsNothing();
    void broadcastOnly();
    void broadcastThroughEveryCard();
    void refusedSendsAreNotCounted();
    void rangeSweepListsServersAndCountsDown();
    void stopDuringSweep();
    void idleErrorCountdownEndingInASweep();
    void stopAfterLastAddressStillCompletes();
    void badFavoritePortIsANetworkError();
    void favoritePauses();
    void namedFavoritesGoOutWhenTheirLookupEnds();
    void refreshAsksTheFirstHundredCapturedRows();
    void portChoiceIsTheOneThatMustBeFilled();

private:
    // Scan, then every step of the sweep by calling its timer's slot.
    void sweep()
    {
        engine->scanAll();
        finishSweep();
    }
    // Steps while one is due (a sweep waiting for a lookup has none).
    void finishSweep()
    {
        stepToTheEnd(*engine);
    }
    QTimer *sweepTimer() const { return engine->findChild<QTimer *>(QStringLiteral("SweepTimer")); }

    SettingsModel *settings = nullptr;
    AutoConnectState autoConnect;
    UdpEndpoint *udp = nullptr;
    QueryProtocol *protocol = nullptr;
    ServerListModel *servers = nullptr;
    FixedLocalAddress *local = nullptr;
    FixedNetworkCards cards;
    RecordingPrompter *prompter = nullptr;
    ScanControls *controls = nullptr;
    ScanEngine *engine = nullptr;
    int settingsOpened = 0;
};

void TestScanEngine::init()
{
    settings = new SettingsModel;
    settings->broadcast = false;
    // On loopback the LAN ports could reach another test's emulator.
    settings->broadcastLanPorts = false;
    settings->scanOld = false;
    settings->delay = 0;
    autoConnect = AutoConnectState();
    udp = new UdpEndpoint(0);
    protocol = new QueryProtocol(*udp, [this] { return settings->scanOld; });
    servers = new ServerListModel(*settings, autoConnect);
    connect(protocol, &QueryProtocol::serverInfoReceived, servers, &ServerListModel::addOrUpdate);
    local = new FixedLocalAddress(QStringLiteral("127.0.0.1"));
    prompter = new RecordingPrompter;
    controls = new ScanControls;
    cards.setAddresses({});
    engine = new ScanEngine(*protocol, *servers, *settings, autoConnect, *local, cards, *prompter, *controls);
    connect(servers, &ServerListModel::serverAdded, engine, &ScanEngine::serverAdded);
    settingsOpened = 0;
    connect(engine, &ScanEngine::settingsRequested, this, [this] { ++settingsOpened; });
}

void TestScanEngine::cleanup()
{
    delete engine;
    delete controls;
    delete prompter;
    delete local;
    delete servers;
    delete protocol;
    delete udp;
    delete settings;
}

void TestScanEngine::checksWarnAndOpenSettings_data()
{
    QTest::addColumn<bool>("broadcast");
    QTest::addColumn<int>("gameType");
    QTest::addColumn<QString>("csPort");
    QTest::addColumn<QString>("hltvPort");
    QTest::addColumn<QString>("warning");
    QTest::newRow("nothing to scan") << false << 0 << "27015" << "27020"
                                     << "warning: IP ranges, Favorites list is empty and Broadcast is disabled. Please set it in Options.";
    QTest::newRow("game port empty") << true << 0 << "" << "27020" << "warning: Game port is empty. Please set it in Options.";
    QTest::newRow("hltv port empty") << true << 1 << "27015" << "" << "warning: HLTV port is empty. Please set it in Options.";
}

void TestScanEngine::checksWarnAndOpenSettings()
{
    QFETCH(bool, broadcast);
    settings->broadcast = broadcast;
    QFETCH(int, gameType);
    settings->gameType = gameType;
    QFETCH(QString, csPort);
    settings->csPort = csPort;
    QFETCH(QString, hltvPort);
    settings->hltvPort = hltvPort;
    servers->addOrUpdate(fakeInfo(1));
    sweep();
    QTEST(prompter->shown.value(0), "warning");
    QCOMPARE(prompter->shown.size(), 1);
    QCOMPARE(settingsOpened, 1);
    QVERIFY(!engine->scanning());
    QVERIFY(controls->scanEnabled());
    QCOMPARE(servers->rowCount(), 1); // the list is not touched
}

void TestScanEngine::allRangesUncheckedSendsNothing()
{
    settings->ranges = {{false, "127.0.70.1", "127.0.70.9"}, {false, "127.0.70.1", "127.0.70.2"},
                        {false, "127.0.72.1", "127.0.72.1"}};
    int sends = 0;
    const QObject counting;
    connect(udp, &UdpEndpoint::datagramSent, &counting, [&] { ++sends; });
    sweep();
    QCOMPARE(sends, 0);
    QCOMPARE(controls->activityPanel(), QStringLiteral(" Scan complete"));
    QCOMPARE(controls->progressMax(), 0);
    QCOMPARE(controls->sentPanel(), QStringLiteral("0"));
    QVERIFY(prompter->shown.isEmpty());
}

void TestScanEngine::broadcastOnly()
{
    QUdpSocket lan;
    QVERIFY(lan.bind(QHostAddress(QStringLiteral("127.0.255.255")), 0));
    settings->broadcast = true;
    settings->scanOld = true;
    settings->csPort = QString::number(lan.localPort());
    sweep();
    QCOMPARE(controls->sentPanel(), QStringLiteral("1"));
    QCOMPARE(controls->progress(), 0);
    QCOMPARE(controls->progressMax(), 0);
    QCOMPARE(controls->activityPanel(), QStringLiteral(" Scan complete"));
    QTRY_VERIFY(lan.hasPendingDatagrams());
    QCOMPARE(lan.receiveDatagram().data(), protocol->packets().infoQuery);
    QTRY_VERIFY(lan.hasPendingDatagrams());
    QCOMPARE(lan.receiveDatagram().data(), protocol->packets().oldInfoQuery);
}

void TestScanEngine::broadcastThroughEveryCard()
{
    // Nothing leaves the machine: the endpoint's socket only records.
    QStringList sent;
    QSet<quint32> refused;
    UdpEndpoint endpoint(27005, nullptr, [&] { return std::make_unique<RecordingSocket>(&sent, &refused); });
    QueryProtocol queries(endpoint, [this] { return settings->scanOld; });
    FixedNetworkCards twoCards({lanCard("eth0", 0x0A4D0002, 0xFFFF0000), lanCard("eth1", 0x0A4E0502, 0xFFFFFF00)});
    ScanEngine scan(queries, *servers, *settings, autoConnect, *local, twoCards, *prompter, *controls);
    settings->broadcast = true;
    settings->broadcastLanPorts = true;
    settings->scanOld = true;
    settings->csPort = QStringLiteral("27016");

    // One address refused: the others still get theirs, and the step counts once.
    refused = {0x0A4E05FF};
    scan.scanAll();
    stepToTheEnd(scan);
    QStringList expected;
    for (int port : {27016, 27015, 27017, 27018, 27019}) {
        for (const char *address : {"10.77.255.255", "10.78.255.255"})
            expected << QStringLiteral("%1:%2 25").arg(QLatin1String(address)).arg(port)
                     << QStringLiteral("%1:%2 15").arg(QLatin1String(address)).arg(port);
    }
    QCOMPARE(sent, expected);
    QCOMPARE(controls->sentPanel(), QStringLiteral("1"));
    QCOMPARE(controls->activityPanel(), QStringLiteral(" Scan complete"));
    QCOMPARE(controls->messagePanel(), QString());

    // An HLTV scan without the old protocol: its own port only.
    sent.clear();
    settings->scanOld = false;
    settings->gameType = 1;
    scan.scanAll();
    stepToTheEnd(scan);
    QCOMPARE(sent, (QStringList{"10.77.255.255:27020 25", "10.78.255.255:27020 25"}));

    // Not one datagram taken: the step fails.
    sent.clear();
    refused = {0x0A4DFFFF, 0x0A4EFFFF, 0x0A4E05FF};
    scan.scanAll();
    stepToTheEnd(scan);
    QVERIFY(sent.isEmpty());
    QCOMPARE(controls->messagePanel(), QStringLiteral(" Network error..."));
    QCOMPARE(controls->sentPanel(), QStringLiteral("0"));
}

void TestScanEngine::refusedSendsAreNotCounted()
{
    QStringList sent;
    const QSet<quint32> refused{0x0A010002, 0x0A010009};
    UdpEndpoint endpoint(27005, nullptr, [&] { return std::make_unique<RecordingSocket>(&sent, &refused); });
    QueryProtocol queries(endpoint, [this] { return settings->scanOld; });
    FixedNetworkCards noCards;
    ScanEngine scan(queries, *servers, *settings, autoConnect, *local, noCards, *prompter, *controls);
    settings->scanOld = false;
    settings->favorites = {{"10.1.0.9", "27015"}, {"10.1.0.8", "27015"}};
    settings->ranges = {{true, "10.1.0.1", "10.1.0.3"}};
    // In batches without a delay, one by one with it.
    for (const int delay : {0, 2}) {
        settings->delay = delay;
        sent.clear();
        scan.scanAll();
        stepToTheEnd(scan);
        QCOMPARE(sent.size(), 3);
        QCOMPARE(controls->sentPanel(), QStringLiteral("3"));
    }
}

void TestScanEngine::rangeSweepListsServersAndCountsDown()
{
    ServerFarm farm;
    QVERIFY(farm.load(farmConfig(1, 5, 27215)));
    QVERIFY2(farm.start(), qPrintable(farm.errorString()));
    settings->csPort = QStringLiteral("27215");
    settings->ranges = {{true, "127.0.70.1", "127.0.70.8"}, {false, "127.0.70.1", "127.0.70.3"}};

    QVector<ScanControls> seen;
    connect(engine, &ScanEngine::controlsChanged, this, [&] { seen << *controls; });
    sweep();
    QVERIFY(!seen.isEmpty());
    QVERIFY(seen.first().stopEnabled());
    QVERIFY(!seen.first().scanEnabled() && !seen.first().portChoiceEnabled() && !seen.first().refreshEnabled());
    QCOMPARE(controls->progressMax(), 8);
    QCOMPARE(controls->progress(), 8);
    QCOMPARE(controls->sentPanel(), QStringLiteral("8"));
    QCOMPARE(controls->activityPanel(), QStringLiteral(" Scan complete"));
    QVERIFY(!controls->stopEnabled());
    QVERIFY(controls->portChoiceEnabled());
    QVERIFY(!controls->scanEnabled());
    QVERIFY(engine->countdownRunning());
    // The countdown goes on by hand below, however long the replies take.
    engine->findChild<QTimer *>(QStringLiteral("Timer"))->stop();

    // Late replies keep arriving after the sweep and enable RF.
    QTRY_COMPARE(servers->rowCount(), 5);
    QVERIFY(controls->refreshEnabled());
    QCOMPARE(servers->row(0).caption, QStringLiteral("CSS"));

    const QStringList captions{"Wait 3", "Wait 2", "Wait 1", "Scan"};
    for (int tick = 0; tick < 4; ++tick) {
        QVERIFY(!controls->scanEnabled());
        engine->countdownTick();
        QCOMPARE(controls->scanCaption(), captions[tick]);
    }
    QVERIFY(controls->scanEnabled());
    QVERIFY(!engine->countdownRunning());

    // While auto-connect is active the countdown leaves Scan disabled.
    sweep();
    autoConnect.active = true;
    for (int tick = 0; tick < 4; ++tick)
        engine->countdownTick();
    QCOMPARE(controls->scanCaption(), QStringLiteral("Scan"));
    QVERIFY(!controls->scanEnabled());
}

void TestScanEngine::idleErrorCountdownEndingInASweep()
{
    // A failed detail request outside a sweep starts the countdown.
    engine->networkError();
    QVERIFY(engine->countdownRunning());
    QCOMPARE(controls->messagePanel(), QStringLiteral(" Network error..."));
    for (int tick = 0; tick < 4; ++tick)
        engine->countdownTick();
    QVERIFY(controls->scanEnabled());

    engine->networkError();
    settings->ranges = {{true, "127.0.74.1", "127.0.74.3"}};
    // The countdown ends between the sweep's steps.
    engine->scanAll();
    QVERIFY(engine->scanning());
    for (int tick = 0; tick < 4; ++tick)
        engine->countdownTick();
    QVERIFY(!controls->scanEnabled());
    finishSweep();
    QCOMPARE(controls->activityPanel(), QStringLiteral(" Scan complete"));
    // The sweep's own countdown enables Scan at its end.
    QVERIFY(!controls->scanEnabled());
    QVERIFY(engine->countdownRunning());
    for (int tick = 0; tick < 4; ++tick)
        engine->countdownTick();
    QVERIFY(controls->scanEnabled());
}

void TestScanEngine::stopDuringSweep()
{
    // The largest range the settings admit: 65,025 addresses, nobody listening.
    settings->csPort = QStringLiteral("27216");
    settings->ranges = {{true, "127.1.0.0", "127.1.254.254"}};
    engine->scanAll();
    for (int step = 0; step < 3; ++step)
        engine->sweepStep();
    const int sent = controls->progress();
    QVERIFY2(sent > 0 && sent < 65025, qPrintable(QString::number(sent)));
    QCOMPARE(controls->sentPanel(), QString::number(sent));

    engine->stop();
    QVERIFY(!engine->scanning());
    QVERIFY(engine->sweepRunning());
    // The next step sees Stop and sends nothing more.
    engine->sweepStep();
    QVERIFY(!engine->sweepRunning());
    QVERIFY(!sweepTimer()->isActive());
    QCOMPARE(controls->activityPanel(), QStringLiteral(" Scan stoped"));
    QCOMPARE(controls->progress(), sent);
    QCOMPARE(engine->rowsAtCapture(), 0);
    QVERIFY(engine->countdownRunning());
    QVERIFY(controls->portChoiceEnabled());
}

void TestScanEngine::stopAfterLastAddressStillCompletes()
{
    settings->csPort = QStringLiteral("27217");
    settings->ranges = {{true, "127.0.73.1", "127.0.73.3"}};
    engine->scanAll();
    engine->sweepStep(); // the favourites: none
    engine->sweepStep(); // all three addresses
    QCOMPARE(controls->progress(), 3);
    engine->stop();
    finishSweep();
    QCOMPARE(controls->activityPanel(), QStringLiteral(" Scan complete"));
    QCOMPARE(engine->waitCount(), 3);
}

void TestScanEngine::badFavoritePortIsANetworkError()
{
    settings->favorites = {{"127.0.73.9", "none"}, {"127.0.73.10", "27015"}};
    sweep();
    QCOMPARE(controls->messagePanel(), QStringLiteral(" Network error..."));
    QCOMPARE(controls->activityPanel(), QStringLiteral(" Scan stoped"));
    QVERIFY(!controls->stopEnabled());
    QVERIFY(!engine->scanning());
}

void TestScanEngine::favoritePauses()
{
    settings->delay = 5;
    settings->favorites = {{"127.0.73.11", "27015"}};
    settings->ranges = {{true, "127.0.73.12", "127.0.73.13"}};
    // Half the delay before and after each favourite, the whole delay after each range address.
    QList<int> pauses;
    engine->scanAll();
    while (engine->sweepRunning()) {
        if (sweepTimer()->isActive() && sweepTimer()->interval() > 0)
            pauses << sweepTimer()->interval();
        engine->sweepStep();
    }
    QCOMPARE(pauses, (QList<int>{2, 2, 5, 5}));
    QCOMPARE(controls->activityPanel(), QStringLiteral(" Scan complete"));
    QCOMPARE(controls->progress(), 3);
}

void TestScanEngine::namedFavoritesGoOutWhenTheirLookupEnds()
{
    QUdpSocket server;
    QVERIFY(server.bind(QHostAddress(QStringLiteral("127.0.0.1")), 0));
    settings->csPort = QStringLiteral("27220");
    settings->favorites = {{"localhost", QString::number(server.localPort())}};
    settings->ranges = {{true, "127.0.73.21", "127.0.73.22"}};
    // The ranges go on while the name resolves; the sweep ends with its lookup.
    engine->scanAll();
    finishSweep();
    QTRY_VERIFY(!engine->sweepRunning());
    QCOMPARE(controls->activityPanel(), QStringLiteral(" Scan complete"));
    QCOMPARE(controls->progress(), 3);
    QCOMPARE(controls->sentPanel(), QStringLiteral("3"));
    QTRY_VERIFY(server.hasPendingDatagrams());
    QCOMPARE(server.receiveDatagram().data(), protocol->packets().infoQuery);

    // A name without an address is a network error: the sweep stops.
    settings->favorites = {{"no such host!", "27015"}};
    engine->scanAll();
    finishSweep();
    QTRY_VERIFY(!engine->sweepRunning());
    QCOMPARE(controls->messagePanel(), QStringLiteral(" Network error..."));
    QCOMPARE(controls->activityPanel(), QStringLiteral(" Scan stoped"));
    QVERIFY(!engine->scanning());
}

void TestScanEngine::refreshAsksTheFirstHundredCapturedRows()
{
    ServerFarm farm;
    QVERIFY(farm.load(farmConfig(1, 3, 27218)));
    QVERIFY(farm.start());
    for (int i = 0; i < 150; ++i)
        servers->addOrUpdate(fakeInfo(i));
    engine->refresh();
    QCOMPARE(engine->findChild<QTimer *>(QStringLiteral("RefreshTimer"))->interval(), 300);
    engine->refreshStep();
    QCOMPARE(engine->rowsAtCapture(), 150);
    QCOMPARE(engine->targetAddresses().size(), 100);
    QCOMPARE(controls->activityPanel(), QStringLiteral(" Refresh complete"));
    QVERIFY(controls->refreshEnabled() && controls->scanEnabled());
    QVERIFY(!controls->playEnabled());
    // Rows asked again wait with the question mark; the rest keep their icon.
    QCOMPARE(servers->data(servers->index(99, ServerListModel::ColumnAccess), ServerListModel::IconRole).toInt(), 11);
    QCOMPARE(servers->data(servers->index(100, ServerListModel::ColumnAccess), ServerListModel::IconRole).toInt(), 1);

    // A refresh of real servers updates their rows in place.
    servers->clear();
    settings->csPort = QStringLiteral("27218");
    settings->ranges = {{true, "127.0.70.1", "127.0.70.3"}};
    sweep();
    QTRY_COMPARE(servers->rowCount(), 3);
    farm.setPlayers(0, 9);
    engine->refresh();
    engine->refreshStep();
    const int row = servers->findRow(QStringLiteral("127.0.70.1"), 27218);
    QTRY_COMPARE(servers->row(row).playersText, QStringLiteral("9/16"));
    QCOMPARE(servers->rowCount(), 3);
}

void TestScanEngine::portChoiceIsTheOneThatMustBeFilled()
{
    settings->gameType = 1;
    settings->csPort.clear();
    settings->hltvPort = QStringLiteral("27219");
    settings->ranges = {{true, "127.0.73.20", "127.0.73.20"}};
    sweep();
    QVERIFY(prompter->shown.isEmpty());
    QCOMPARE(controls->activityPanel(), QStringLiteral(" Scan complete"));
}

QTEST_GUILESS_MAIN(TestScanEngine)
#include "tst_scanengine.moc"
