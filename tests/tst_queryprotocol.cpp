#include "net/udpendpoint.h"
#include "query/queryprotocol.h"
#include "settings/settingsmodel.h"
#include "support/testsupport.h"

#include <QNetworkDatagram>
#include <QUdpSocket>
#include <QtTest>

namespace {

// Not a request or a reply of the protocol: the scripted server records it
// apart and sends it back, and the endpoint's reader counts it apart.
const QByteArray Fence = bytesOf("FF FF FF FF 'fence' 00");

// A scripted server on a loopback address: records what it gets and answers
// with whatever the test's responder returns.
class FakeServer : public QObject
{
public:
    explicit FakeServer(const char *address)
    {
        QVERIFY(socket.bind(QHostAddress(QString::fromLatin1(address)), 0));
        connect(&socket, &QUdpSocket::readyRead, this, [this] {
            while (socket.hasPendingDatagrams()) {
                const QNetworkDatagram d = socket.receiveDatagram();
                if (d.data() == Fence) {
                    ++fences;
                    socket.writeDatagram(Fence, d.senderAddress(), quint16(d.senderPort()));
                    continue;
                }
                received << d.data();
                if (respond)
                    for (const QByteArray &reply : respond(d.data()))
                        socket.writeDatagram(reply, d.senderAddress(), quint16(d.senderPort()));
            }
        });
    }
    QString address() const { return socket.localAddress().toString(); }
    int port() const { return socket.localPort(); }

    QUdpSocket socket;
    QVector<QByteArray> received;
    int fences = 0;
    std::function<QVector<QByteArray>(const QByteArray &)> respond;
};

const QByteArray infoReply = bytesOf("FF FF FF FF 49 11 'TF2 box' 00 'ctf_2fort' 00 'tf' 00 'Team Fortress' 00"
                                     "B8 01 03 18 00 64 6C 00");

QByteArray challenge(quint8 seed)
{
    return bytesOf("FF FF FF FF 41") + QByteArray(1, char(seed)) + bytesOf("A1 B2 C3");
}


} // namespace

// The request side and the dispatcher, against scripted servers on loopback.
class TestQueryProtocol : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void infoChallengeIsAnsweredWithInfo();
    void endlessChallengesAreAnsweredTwice();
    void unaskedChallengesAreIgnored();
    void detailChallengeBringsPlayersAndRules();
    void challengeSlotKeepsTheLastChallenge();
    void broadcastChallengeIsAnswered();
    void oldProtocolRequests();
    void dispatchSorting_data();
    void dispatchSorting();
    void splitPlayersAreReassembled();

private:
    bool settled(FakeServer &server);

    SettingsModel *settings = nullptr;
    UdpEndpoint *udp = nullptr;
    QueryProtocol *protocol = nullptr;
    QVector<ServerInfo> infos;
    QVector<QVector<PlayerRow>> players;
    QVector<QVector<RuleRow>> rules;
    int errors = 0;
    int fencesBack = 0;
};

void TestQueryProtocol::init()
{
    settings = new SettingsModel;
    settings->scanOld = false;
    udp = new UdpEndpoint(0);
    protocol = new QueryProtocol(*udp, [this] { return settings->scanOld; });
    infos.clear();
    players.clear();
    rules.clear();
    errors = 0;
    connect(protocol, &QueryProtocol::serverInfoReceived, this, [this](const ServerInfo &i) { infos << i; });
    connect(protocol, &QueryProtocol::playersReceived, this, [this](const QVector<PlayerRow> &p) { players << p; });
    connect(protocol, &QueryProtocol::rulesReceived, this, [this](const QVector<RuleRow> &r) { rules << r; });
    connect(protocol, &QueryProtocol::networkError, this, [this] { ++errors; });
    fencesBack = 0;
    // The protocol ignores the fence: 'f' is no reply type.
    connect(udp, &UdpEndpoint::datagramReceived, this, [this](const ReceivedDatagram &d) {
        if (d.data == Fence)
            ++fencesBack;
    });
}

// Waits until nothing is in flight between the endpoint and `server`: a fence
// there and back (the server got every earlier request and the endpoint
// handled every earlier reply), then a second one there (every request that
// handling sent has arrived). No time limit decides; the fences are the events.
bool TestQueryProtocol::settled(FakeServer &server)
{
    for (int round = 0; round < 2; ++round) {
        const int back = fencesBack;
        udp->sendDatagram(server.address(), server.port(), Fence);
        if (!QTest::qWaitFor([&] { return fencesBack > back; }, 10000))
            return false;
    }
    return true;
}

void TestQueryProtocol::cleanup()
{
    delete protocol;
    delete udp;
    delete settings;
}

void TestQueryProtocol::infoChallengeIsAnsweredWithInfo()
{
    FakeServer server("127.0.0.10");
    server.respond = [](const QByteArray &req) -> QVector<QByteArray> {
        if (req.size() == 29 && req.endsWith(bytesOf("07 A1 B2 C3")))
            return {infoReply};
        return {challenge(7)};
    };
    QVERIFY(protocol->sendInfoQuery(QStringLiteral("127.0.0.10"), server.port()));
    QTRY_COMPARE(infos.size(), 1);
    QCOMPARE(infos[0].hostName, QStringLiteral("TF2 box"));
    QCOMPARE(infos[0].port, server.port());
    QVERIFY(settled(server));
    QCOMPARE(server.received.size(), 2);
    QCOMPARE(server.received[0], protocol->packets().infoQuery);
    QCOMPARE(server.received[1], protocol->packets().infoQuery + bytesOf("07 A1 B2 C3"));
    QCOMPARE(errors, 0);
}

void TestQueryProtocol::endlessChallengesAreAnsweredTwice()
{
    FakeServer server("127.0.0.11");
    quint8 seed = 0;
    server.respond = [&seed](const QByteArray &) -> QVector<QByteArray> { return {challenge(++seed)}; };
    QVERIFY(protocol->sendInfoQuery(QStringLiteral("127.0.0.11"), server.port()));
    QTRY_COMPARE(server.received.size(), 3);
    QVERIFY(settled(server));
    QCOMPARE(server.received.size(), 3);
    QVERIFY(infos.isEmpty());

    // A new request allows two answers again.
    QVERIFY(protocol->sendInfoQuery(QStringLiteral("127.0.0.11"), server.port()));
    QTRY_COMPARE(server.received.size(), 6);
    QVERIFY(settled(server));
    QCOMPARE(server.received.size(), 6);
}

void TestQueryProtocol::unaskedChallengesAreIgnored()
{
    FakeServer stranger("127.0.0.12");
    stranger.socket.writeDatagram(challenge(1), QHostAddress(QStringLiteral("127.0.0.1")), quint16(udp->localPort()));
    QVERIFY(settled(stranger));
    QVERIFY(stranger.received.isEmpty());
    // Its challenge still lands in the players and rules packets.
    QCOMPARE(protocol->packets().playersQuery.mid(5, 4), bytesOf("01 A1 B2 C3"));
}

void TestQueryProtocol::detailChallengeBringsPlayersAndRules()
{
    FakeServer server("127.0.0.13");
    server.respond = [](const QByteArray &req) -> QVector<QByteArray> {
        if (req.size() == 9 && req.endsWith(bytesOf("09 A1 B2 C3"))) {
            if (req[4] == 'U')
                return {bytesOf("FF FF FF FF 44 01 00 'Ann' 00 07 00 00 00 00 00 00 00")};
            return {bytesOf("FF FF FF FF 45 01 00 'mp_timelimit' 00 '30' 00")};
        }
        return {challenge(9)};
    };
    QVERIFY(protocol->requestPlayers(QStringLiteral("127.0.0.13"), server.port()));
    QVERIFY(protocol->requestRules(QStringLiteral("127.0.0.13"), server.port()));
    QTRY_VERIFY(!players.isEmpty() && !rules.isEmpty());
    // The rules request follows the players request after the detail pause.
    QTRY_COMPARE(server.received.size(), 6);
    QVERIFY(settled(server));
    QCOMPARE(players.last(), (QVector<PlayerRow>{{"Ann", 7}}));
    QCOMPARE(rules.last(), (QVector<RuleRow>{{"mp_timelimit", "30"}}));
    // The first two requests carry the slot's start value; no info request went there.
    QCOMPARE(server.received[0], protocol->packets().playersQuery.left(5) + "Sour" + protocol->packets().playersQuery.mid(9));
    for (const QByteArray &r : server.received)
        QVERIFY(r[4] != 'T');
    // Two challenges, each answered with both short requests: 2 + 2 * 2 datagrams.
    QCOMPARE(server.received.size(), 6);
}

void TestQueryProtocol::challengeSlotKeepsTheLastChallenge()
{
    protocol->dispatch(datagramFrom(challenge(0x11), QStringLiteral("127.0.0.20"), 27015));
    protocol->dispatch(datagramFrom(challenge(0x22), QStringLiteral("127.0.0.21"), 27015));
    QCOMPARE(protocol->packets().playersQuery.mid(5, 4), bytesOf("22 A1 B2 C3"));
    QCOMPARE(protocol->packets().rulesQuery.mid(5, 4), bytesOf("22 A1 B2 C3"));
    QCOMPARE(protocol->packets().playersQuery.mid(9), QByteArray("ce Engine Query", 16));
    // A short challenge fills the missing bytes with zero.
    protocol->dispatch(datagramFrom(bytesOf("FF FF FF FF 41 33"), QStringLiteral("127.0.0.21"), 27015));
    QCOMPARE(protocol->packets().rulesQuery.mid(5, 4), bytesOf("33 00 00 00"));
}

void TestQueryProtocol::broadcastChallengeIsAnswered()
{
    // On loopback the "broadcast" is a socket bound to 127.0.255.255; the server
    // behind it answers from its own address, as a LAN server would.
    QUdpSocket broadcast;
    QVERIFY(broadcast.bind(QHostAddress(QStringLiteral("127.0.255.255")), 0));
    FakeServer server("127.0.0.14");
    QUdpSocket answerer;
    QVERIFY(answerer.bind(QHostAddress(QStringLiteral("127.0.0.14")), broadcast.localPort()));
    connect(&answerer, &QUdpSocket::readyRead, this, [&] {
        while (answerer.hasPendingDatagrams()) {
            const QNetworkDatagram d = answerer.receiveDatagram();
            if (d.data().size() == 29)
                answerer.writeDatagram(infoReply, d.senderAddress(), quint16(d.senderPort()));
        }
    });
    connect(&broadcast, &QUdpSocket::readyRead, this, [&] {
        while (broadcast.hasPendingDatagrams()) {
            const QNetworkDatagram d = broadcast.receiveDatagram();
            answerer.writeDatagram(challenge(5), d.senderAddress(), quint16(d.senderPort()));
        }
    });
    QVERIFY(protocol->sendBroadcastQuery(QStringLiteral("127.0.255.255"), broadcast.localPort()));
    QTRY_COMPARE(infos.size(), 1);
    QCOMPARE(infos[0].address, QStringLiteral("127.0.0.14"));
}

void TestQueryProtocol::oldProtocolRequests()
{
    settings->scanOld = true;
    FakeServer server("127.0.0.15");
    QVERIFY(protocol->sendInfoRequest(QStringLiteral("127.0.0.15"), server.port()));
    QVERIFY(protocol->requestPlayers(QStringLiteral("127.0.0.15"), server.port()));
    QVERIFY(protocol->requestRules(QStringLiteral("127.0.0.15"), server.port()));
    QTRY_COMPARE(server.received.size(), 6);
    const RequestPackets &p = protocol->packets();
    QCOMPARE(server.received, (QVector<QByteArray>{p.infoQuery, p.oldInfoQuery, p.playersQuery, p.oldPlayersQuery,
                                                   p.rulesQuery, p.oldRulesQuery}));
    QCOMPARE(p.infoQuery.size(), 25);
    QCOMPARE(p.oldInfoQuery.size(), 15);
    QCOMPARE(p.oldPlayersQuery.size(), 12);
    QCOMPARE(p.oldRulesQuery.size(), 10);

    settings->scanOld = false;
    server.received.clear();
    QVERIFY(protocol->sendInfoRequest(QStringLiteral("127.0.0.15"), server.port()));
    QVERIFY(settled(server));
    QCOMPARE(server.received.size(), 1);

    // Asking another server drops the requests still waiting for the first:
    // the selection moved on.
    FakeServer next("127.0.0.16");
    server.received.clear();
    QVERIFY(protocol->requestPlayers(QStringLiteral("127.0.0.15"), server.port()));
    QVERIFY(protocol->requestRules(QStringLiteral("127.0.0.15"), server.port()));
    QVERIFY(protocol->requestPlayers(QStringLiteral("127.0.0.16"), next.port()));
    QTRY_COMPARE(next.received.size(), 1);
    QVERIFY(settled(server));
    QCOMPARE(server.received, (QVector<QByteArray>{p.playersQuery}));
    QCOMPARE(next.received, (QVector<QByteArray>{p.playersQuery}));
}

void TestQueryProtocol::dispatchSorting_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<int>("infos");
    QTest::addColumn<int>("players");
    QTest::addColumn<int>("rules");
    QTest::addColumn<bool>("asked"); // players and rules were asked of the sender
    QTest::newRow("info") << infoReply << 1 << 0 << 0 << true;
    QTest::newRow("long info") << infoReply + QByteArray(300, 'x') << 1 << 0 << 0 << true;
    QTest::newRow("byte 0 not tested") << QByteArray(1, 'X') + infoReply.mid(1) << 1 << 0 << 0 << true;
    QTest::newRow("bad header") << bytesOf("FF FF 00 FF 49") + infoReply.mid(5) << 0 << 0 << 0 << true;
    QTest::newRow("four bytes") << bytesOf("FF FF FF FF") << 0 << 0 << 0 << true;
    QTest::newRow("unknown type") << bytesOf("FF FF FF FF 7A 00 00") << 0 << 0 << 0 << true;
    // A split fragment whose id starts with a type letter is still a fragment.
    QTest::newRow("split with I in id") << bytesOf("FE FF FF FF 49 00 00 00 12") + infoReply << 0 << 0 << 0 << true;
    QTest::newRow("players") << bytesOf("FF FF FF FF 44 00") << 0 << 1 << 0 << true;
    QTest::newRow("rules") << bytesOf("FF FF FF FF 45 00 00") << 0 << 0 << 1 << true;
    // Anyone on the LAN can send these; they would replace the lists shown.
    QTest::newRow("players nobody asked for") << bytesOf("FF FF FF FF 44 00") << 0 << 0 << 0 << false;
    QTest::newRow("rules nobody asked for") << bytesOf("FF FF FF FF 45 00 00") << 0 << 0 << 0 << false;
    QTest::newRow("old info") << bytesOf("FF FF FF FF 'infostringresponse' 00 '\\protocol\\47\\players\\1\\max\\2\\password\\0\\' 00")
                              << 1 << 0 << 0 << true;
    QTest::newRow("i but not the old reply") << bytesOf("FF FF FF FF 'infostringXesponse' 00 '\\protocol\\47\\' 00") << 0
                                             << 0 << 0 << true;
}

void TestQueryProtocol::dispatchSorting()
{
    QFETCH(QByteArray, datagram);
    QFETCH(bool, asked);
    // Asked on this endpoint's own port, where the request is not answered.
    if (asked)
        QVERIFY(protocol->requestPlayers(QStringLiteral("127.0.0.30"), udp->localPort()));
    protocol->dispatch(datagramFrom(datagram, QStringLiteral("127.0.0.30"), 27015));
    QTEST(int(infos.size()), "infos");
    QTEST(int(players.size()), "players");
    QTEST(int(rules.size()), "rules");
}

void TestQueryProtocol::splitPlayersAreReassembled()
{
    QByteArray whole = bytesOf("FF FF FF FF 44 03");
    for (const char *name : {"alpha", "bravo", "charlie"})
        whole += bytesOf("00") + QByteArray(name) + bytesOf("00 02 00 00 00 00 00 00 00");
    const QByteArray first = bytesOf("FE FF FF FF 05 00 00 00 02 00 14 00") + whole.left(20);
    const QByteArray second = bytesOf("FE FF FF FF 05 00 00 00 02 01 14 00") + whole.mid(20);
    QVERIFY(protocol->requestRules(QStringLiteral("127.0.0.31"), udp->localPort()));
    protocol->dispatch(datagramFrom(second, QStringLiteral("127.0.0.31"), 27015));
    QVERIFY(players.isEmpty());
    protocol->dispatch(datagramFrom(first, QStringLiteral("127.0.0.31"), 27015));
    QCOMPARE(players.size(), 1);
    QCOMPARE(players[0].size(), 3);
    QCOMPARE(players[0][2].name, QStringLiteral("charlie"));
}

QTEST_GUILESS_MAIN(TestQueryProtocol)
#include "tst_queryprotocol.moc"
