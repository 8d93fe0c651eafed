#include "serverfarm.h"
#include "support/testsupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkDatagram>
#include <QProcess>
#include <QTemporaryFile>
#include <QUdpSocket>
#include <QtEndian>
#include <QtTest>

#include <csignal>

namespace {

const QByteArray kInfoRequest = bytesOf("FF FF FF FF 'T' 'Source Engine Query' 00");

QJsonObject object(const char *json)
{
    return QJsonDocument::fromJson(json).object();
}

QJsonObject farmOf(const QJsonObject &server)
{
    return QJsonObject{{"servers", QJsonArray{server}}};
}

QJsonObject genuineVector(const QString &name)
{
    QFile file(QStringLiteral(VANTOR_TESTDATA_DIR "/query-replies.json"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    for (const QJsonValue &v : QJsonDocument::fromJson(file.readAll()).object().value("vectors").toArray()) {
        if (v.toObject().value("name").toString() == name)
            return v.toObject();
    }
    return {};
}

char typeOf(const QByteArray &reply)
{
    return reply.size() > 4 ? reply[4] : '\0';
}

// A plain client on 127.0.0.1; the farm lives in the same thread, so waiting
// must keep the event loop running.
class Client
{
public:
    Client() { m_socket.bind(QHostAddress(QStringLiteral("127.0.0.1")), 0); }

    // Sends `request` to a server of `farm` and returns every reply: the farm
    // notes a request once it has sent all its replies, so nothing needs to be
    // waited for beyond that note and the `expected` count.
    QList<QNetworkDatagram> ask(ServerFarm &farm, const QHostAddress &address, quint16 port,
                                const QByteArray &request, int expected = 1)
    {
        bool handled = false;
        const QMetaObject::Connection noted =
            QObject::connect(&farm, &ServerFarm::requestReceived, [&handled] { handled = true; });
        m_socket.writeDatagram(request, address, port);
        QList<QNetworkDatagram> got;
        // A reply short of the count shows in the caller's comparison.
        (void)QTest::qWaitFor(
            [&] {
                while (m_socket.hasPendingDatagrams())
                    got.append(m_socket.receiveDatagram());
                return handled && got.size() >= expected;
            },
            WaitMs);
        QObject::disconnect(noted);
        return got;
    }

    // The one reply of a server in another process.
    QByteArray askProcess(const QHostAddress &address, quint16 port, const QByteArray &request)
    {
        m_socket.writeDatagram(request, address, port);
        if (!QTest::qWaitFor([&] { return m_socket.hasPendingDatagrams(); }, WaitMs))
            return {};
        return m_socket.receiveDatagram().data();
    }

    QByteArray askOne(ServerFarm &farm, const QByteArray &request)
    {
        const auto got = ask(farm, farm.serverAddress(0), farm.serverPort(0), request);
        return got.size() == 1 ? got[0].data() : QByteArray();
    }

    quint16 port() const { return m_socket.localPort(); }

private:
    // Generous: a loaded machine may be slow, and a passing test never waits this long.
    static constexpr int WaitMs = 10000;

    QUdpSocket m_socket;
};

} // namespace

class TestServerTest : public QObject
{
    Q_OBJECT

private slots:
    void infoReplyHasTheGenuineShape();
    void replyLayouts_data();
    void replyLayouts();
    void challengeHandshake_data();
    void challengeHandshake();
    void splitReassembles_data();
    void splitReassembles();
    void silentServerLogsButNeverAnswers();
    void playerCountChangesAtRunTime();
    void refusesBadConfig_data();
    void refusesBadConfig();
    void broadcastFansOutToEveryServerOnThePort();
    void programReportsReadyAndStopsOnSignal();
};

void TestServerTest::infoReplyHasTheGenuineShape()
{
    const QJsonObject vector = genuineVector("info_I_csgo_php_source_query");
    QVERIFY(!vector.isEmpty());
    const QJsonObject e = vector.value("expect").toObject();
    ServerFarm farm;
    QVERIFY2(farm.load(farmOf({{"address", "127.71.0.2"}, {"port", e["port"]}, {"protocol", e["protocol"]},
                              {"name", e["name"]}, {"map", e["map"]}, {"gameDir", e["folder"]},
                              {"description", e["game"]}, {"appId", e["appid"]}, {"players", e["players"]},
                              {"maxPlayers", e["max_players"]}, {"bots", e["bots"]}, {"os", e["os"]},
                              {"serverType", e["server_type"]}, {"password", e["password"]}, {"vac", e["vac"]},
                              {"version", e["version"]}, {"keywords", e["keywords"]}})),
             qPrintable(farm.errorString()));
    QVERIFY2(farm.start(), qPrintable(farm.errorString()));

    const QByteArray reply = Client().askOne(farm, kInfoRequest);
    QByteArray genuine = QByteArray::fromHex(vector.value("datagrams").toArray()[0].toString().toLatin1());
    // Only the 8-byte steam id after the EDF byte and the port is ours to choose.
    const int steamId = int(genuine.indexOf(e["version"].toString().toLatin1() + '\0')) + e["version"].toString().size() + 4;
    genuine.replace(steamId, 8, reply.mid(steamId, 8));
    QCOMPARE(reply.toHex(' '), genuine.toHex(' '));
}

void TestServerTest::replyLayouts_data()
{
    QTest::addColumn<QByteArray>("server");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QList<QByteArray>>("replies");

    const QByteArray base = R"("address": "127.71.0.3", "port": 27015, "name": "N", "map": "M", "gameDir": "G",
        "description": "D", "protocol": 47, "maxPlayers": 16, "bots": 2, "os": "w", "password": 1, "vac": 1,
        "appId": 10, "version": "1.1", "extraData": false, "proxy": "1",
        "playerList": [{"name": "ab", "frags": -2, "time": 1.5}, {"name": "c", "frags": 300, "time": 2}],
        "rules": [["r1", "v1"], ["r2", ""]])";
    const QByteArray mReply = bytesOf("FF FF FF FF 'm' '127.71.0.3:27015' 00 'N' 00 'M' 00 'G' 00 'D' 00"
                                      "02 10 2F 'd' 'w' 01 00 01 02");
    const QByteArray iReply = bytesOf("FF FF FF FF 'I' 2F 'N' 00 'M' 00 'G' 00 'D' 00 0A 00 02 10 02 'd' 'w' 01 01 '1.1' 00");
    const QByteArray dReply = bytesOf("FF FF FF FF 'D' 02 00 'ab' 00 FE FF FF FF 00 00 C0 3F"
                                      "01 'c' 00 2C 01 00 00 00 00 00 40");
    const QByteArray eReply = bytesOf("FF FF FF FF 'E' 02 00 'r1' 00 'v1' 00 'r2' 00 00");
    const QByteArray detail = R"(, "detailChallenge": false)";

    QTest::newRow("m") << "{" + base + R"(, "dialect": "m"})" << kInfoRequest << QList<QByteArray>{mReply};
    QTest::newRow("I") << "{" + base + R"(, "dialect": "I"})" << kInfoRequest << QList<QByteArray>{iReply};
    QTest::newRow("both: m then I") << "{" + base + R"(, "dialect": "both"})" << kInfoRequest
                                    << QList<QByteArray>{mReply, iReply};
    QTest::newRow("I with extra data")
        << "{" + base + R"(, "extraData": true, "keywords": "k", "players": 1})" << kInfoRequest
        << QList<QByteArray>{bytesOf("FF FF FF FF 'I' 2F 'N' 00 'M' 00 'G' 00 'D' 00 0A 00 01 10 02 'd' 'w' 01 01 '1.1' 00"
                                     "B1 87 69 03 00 10 EE 85 BE 3F 01 'k' 00 0A 00 00 00 00 00 00 00")};
    QTest::newRow("padded to 149") << "{" + base + R"(, "padName": 149})" << kInfoRequest
                                   << QList<QByteArray>{iReply.left(6) + "N" + QByteArray(149 - iReply.size(), '.')
                                                        + iReply.mid(7)};
    QTest::newRow("D") << "{" + base + detail + "}" << bytesOf("FF FF FF FF 'U' FF FF FF FF") << QList<QByteArray>{dReply};
    QTest::newRow("E") << "{" + base + detail + "}" << bytesOf("FF FF FF FF 'V' 'Sour'") << QList<QByteArray>{eReply};
    QTest::newRow("old infostring")
        << "{" + base + R"(, "dialect": "old", "players": 3, "serverType": "p"})" << bytesOf("FF FF FF FF 'infostring' 00")
        << QList<QByteArray>{bytesOf("FF FF FF FF 'infostringresponse' 00 '\\protocol\\47\\address\\127.71.0.3:27015"
                                     "\\players\\3\\proxy\\1\\max\\16\\gamedir\\G\\description\\D\\hostname\\N\\map\\M"
                                     "\\type\\p\\password\\1\\os\\w\\secure\\1' 00")};
    QTest::newRow("old players") << "{" + base + R"(, "dialect": "old"})" << bytesOf("FF FF FF FF 'players' 00")
                                 << QList<QByteArray>{dReply};
    QTest::newRow("old rules") << "{" + base + R"(, "dialect": "old"})" << bytesOf("FF FF FF FF 'rules' 00")
                               << QList<QByteArray>{eReply};
    QTest::newRow("old ignores T") << "{" + base + R"(, "dialect": "old"})" << kInfoRequest << QList<QByteArray>{};
    QTest::newRow("I ignores infostring") << "{" + base + "}" << bytesOf("FF FF FF FF 'infostring' 00")
                                          << QList<QByteArray>{};
}

void TestServerTest::replyLayouts()
{
    QFETCH(QByteArray, server);
    QFETCH(QByteArray, request);
    QFETCH(QList<QByteArray>, replies);
    ServerFarm farm;
    QVERIFY2(farm.load(farmOf(QJsonDocument::fromJson(server).object())), qPrintable(farm.errorString()));
    QVERIFY2(farm.start(), qPrintable(farm.errorString()));

    const auto got = Client().ask(farm, farm.serverAddress(0), farm.serverPort(0), request, int(replies.size()));
    QCOMPARE(got.size(), replies.size());
    for (int i = 0; i < replies.size(); ++i)
        QCOMPARE(got[i].data().toHex(' '), replies[i].toHex(' '));
}

void TestServerTest::challengeHandshake_data()
{
    QTest::addColumn<QByteArray>("flags");
    QTest::addColumn<char>("type");
    QTest::addColumn<char>("answerToChallenge");

    QTest::newRow("info") << QByteArray(R"("infoChallenge": true)") << 'T' << 'I';
    QTest::newRow("players") << QByteArray() << 'U' << 'D';
    QTest::newRow("rules") << QByteArray() << 'V' << 'E';
    QTest::newRow("every time, info") << QByteArray(R"("infoChallenge": true, "challengeEveryTime": true)") << 'T' << 'A';
    QTest::newRow("every time, rules") << QByteArray(R"("challengeEveryTime": true)") << 'V' << 'A';
}

void TestServerTest::challengeHandshake()
{
    QFETCH(QByteArray, flags);
    QFETCH(char, type);
    QFETCH(char, answerToChallenge);
    ServerFarm farm;
    QByteArray json = R"({"address": "127.71.0.4", "port": 0, "rules": [["a", "b"]])";
    json += flags.isEmpty() ? "}" : ", " + flags + "}";
    QVERIFY2(farm.load(farmOf(QJsonDocument::fromJson(json).object())), qPrintable(farm.errorString()));
    QVERIFY(farm.start());
    Client client;

    // The first request of each form carries no valid challenge.
    const QByteArray plain = type == 'T' ? kInfoRequest : bytesOf("FF FF FF FF") + type + "Source Engine Query" + '\0';
    const QByteArray first = client.askOne(farm, plain);
    QCOMPARE(first.size(), 9);
    QCOMPARE(first.left(5), bytesOf("FF FF FF FF 'A'"));
    auto carrying = [&](const QByteArray &challenge) {
        return (type == 'T' ? kInfoRequest : plain.left(5)) + challenge;
    };
    const QByteArray second = client.askOne(farm, carrying(first.mid(5, 4)));
    QCOMPARE(typeOf(second), answerToChallenge);
    if (answerToChallenge == 'A')
        QVERIFY(second.mid(5) != first.mid(5));
    else
        QCOMPARE(typeOf(client.askOne(farm, carrying(bytesOf("01 02 03 04")))), 'A');

    const QStringList kinds = {farm.requests().value(0).kind, farm.requests().value(1).kind};
    QCOMPARE(kinds, type == 'T' ? QStringList({"T", "T+challenge"}) : QStringList({QString(type), QString(type)}));
}

void TestServerTest::splitReassembles_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<bool>("reverse");
    QTest::addColumn<int>("headerSize");
    QTest::newRow("goldsrc") << "goldsrc" << false << 9;
    QTest::newRow("goldsrc, last first") << "goldsrc" << true << 9;
    QTest::newRow("source") << "source" << false << 12;
    QTest::newRow("source, last first") << "source" << true << 12;
}

void TestServerTest::splitReassembles()
{
    QFETCH(QString, layout);
    QFETCH(bool, reverse);
    QFETCH(int, headerSize);
    const QJsonObject whole = object(R"({"address": "127.71.0.5", "port": 0, "generateRules": 100,
                                         "detailChallenge": false})");
    QJsonObject cut = whole;
    cut["address"] = "127.71.0.6";
    cut["split"] = QJsonObject{{"layout", layout}, {"fragmentSize", 1000}, {"reverse", reverse}};
    ServerFarm farm;
    QVERIFY2(farm.load(QJsonObject{{"servers", QJsonArray{whole, cut}}}), qPrintable(farm.errorString()));
    QVERIFY(farm.start());
    Client client;
    const QByteArray rulesRequest = bytesOf("FF FF FF FF 'V' FF FF FF FF");
    const auto original = client.ask(farm, farm.serverAddress(0), farm.serverPort(0), rulesRequest);
    QCOMPARE(original.size(), 1);
    const QByteArray reply = original[0].data();
    const int total = int((reply.size() + 999) / 1000);
    QVERIFY(total >= 3);

    quint32 lastId = 0;
    for (int round = 0; round < 2; ++round) {
        auto parts = client.ask(farm, farm.serverAddress(1), farm.serverPort(1), rulesRequest, total);
        QCOMPARE(parts.size(), total);
        if (reverse)
            std::reverse(parts.begin(), parts.end());
        const quint32 id = qFromLittleEndian<quint32>(parts[0].data().constData() + 4);
        QVERIFY(id > lastId);
        lastId = id;
        QByteArray joined;
        for (int number = 0; number < total; ++number) {
            const QByteArray part = parts[number].data();
            QCOMPARE(part.left(4), bytesOf("FE FF FF FF"));
            QCOMPARE(qFromLittleEndian<quint32>(part.constData() + 4), id);
            if (layout == "goldsrc") {
                QCOMPARE(int(quint8(part[8])), (number << 4) | total);
            } else {
                QCOMPARE(part.mid(8, 4), QByteArray() + char(total) + char(number) + bytesOf("E8 03"));
            }
            if (number < total - 1)
                QCOMPARE(part.size(), headerSize + 1000);
            joined += part.mid(headerSize);
        }
        QCOMPARE(joined, reply);
    }
}

void TestServerTest::silentServerLogsButNeverAnswers()
{
    ServerFarm farm;
    QVERIFY(farm.load(farmOf(object(R"({"address": "127.71.0.7", "port": 0, "silent": true})"))));
    QVERIFY(farm.start());
    Client client;
    QVERIFY(client.ask(farm, farm.serverAddress(0), farm.serverPort(0), kInfoRequest, 0).isEmpty());
    QCOMPARE(farm.requests().size(), 1);
    const RequestRecord record = farm.requests()[0];
    QCOMPARE(record.kind, QString("T"));
    QCOMPARE(record.length, 25);
    QCOMPARE(record.clientPort, client.port());
    QCOMPARE(record.serverAddress, QHostAddress("127.71.0.7"));
}

void TestServerTest::playerCountChangesAtRunTime()
{
    ServerFarm farm;
    QVERIFY(farm.load(farmOf(object(R"({"address": "127.71.0.8", "port": 0, "extraData": false,
                                        "playerSteps": {"counts": [16, 15]}})"))));
    QVERIFY(farm.start());
    Client client;
    // Players sit 2 bytes after the four strings of the 'I' reply.
    auto playersInReply = [&] {
        const QByteArray reply = client.askOne(farm, kInfoRequest);
        int at = 6;
        for (int i = 0; i < 4; ++i)
            at = int(reply.indexOf('\0', at)) + 1;
        return int(quint8(reply.at(at + 2)));
    };
    QCOMPARE(playersInReply(), 16);
    farm.stepPlayers();
    QCOMPARE(playersInReply(), 15);
    farm.stepPlayers();
    QCOMPARE(playersInReply(), 16);
    farm.setPlayers(0, 3);
    QCOMPARE(playersInReply(), 3);
}

void TestServerTest::refusesBadConfig_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("complaint");
    QTest::newRow("LAN address") << QByteArray(R"({"servers": [{"address": "192.168.1.5"}]})") << "outside 127.0.0.0/8";
    QTest::newRow("any address") << QByteArray(R"({"servers": [{"address": "0.0.0.0"}]})") << "outside 127.0.0.0/8";
    QTest::newRow("LAN broadcast") << QByteArray(R"({"broadcast": "10.0.255.255", "servers": [{"address": "127.0.0.9"}]})")
                                   << "outside 127.0.0.0/8";
    QTest::newRow("typo") << QByteArray(R"({"servers": [{"address": "127.0.0.9", "dialet": "m"}]})") << "dialet";
    QTest::newRow("too many goldsrc parts")
        << QByteArray(R"({"servers": [{"address": "127.0.0.9", "generateRules": 600, "split": {"fragmentSize": 1391}}]})")
        << "more than the split layout allows";
    QTest::newRow("port far beyond any integer") << QByteArray(R"({"servers": [{"address": "127.0.0.9", "port": 1e19}]})")
                                                 << R"(servers[0]."port": must be an integer from 0 to 65535)";
    QTest::newRow("fraction") << QByteArray(R"({"servers": [{"address": "127.0.0.9", "maxPlayers": 2.5}]})")
                              << R"("maxPlayers": must be an integer)";
    QTest::newRow("key with a line break")
        << QByteArray(R"({"servers": [{"address": "127.0.0.9", "bad\nkey\u001b[2J": 1}]})")
        << R"(servers[0]."bad\nkey\u001b[2J": unknown key)";
}

void TestServerTest::refusesBadConfig()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, complaint);
    ServerFarm farm;
    QVERIFY(!farm.load(QJsonDocument::fromJson(json).object()));
    QVERIFY2(farm.errorString().contains(complaint), qPrintable(farm.errorString()));
    // Allowed explicitly (the LAN test's servers in their namespaces), other addresses are served.
    QString error;
    if (complaint.contains(QLatin1String("outside 127")))
        QVERIFY2(parseFarmConfig(QJsonDocument::fromJson(json).object(), &error, AddressScope::AnyAddress),
                 qPrintable(error));

    QTemporaryFile file;
    QVERIFY(file.open());
    file.write(json);
    file.close();
    QProcess program;
    program.start(QStringLiteral(VANTOR_TESTSERVER_TOOL), {file.fileName()});
    QVERIFY(program.waitForFinished(5000));
    QCOMPARE(program.exitCode(), 2);
    QCOMPARE(program.readAllStandardError().count('\n'), 1);
}

void TestServerTest::broadcastFansOutToEveryServerOnThePort()
{
    ServerFarm farm;
    QVERIFY2(farm.load(object(R"({"broadcast": "127.71.255.255", "servers": [
        {"address": "127.71.9.1", "port": 27015, "dialect": "m"},
        {"address": "127.71.9.2", "port": 27015, "replyPort": 0},
        {"address": "127.71.9.3", "port": 27015, "silent": true},
        {"address": "127.71.9.4", "port": 27016}]})")),
             qPrintable(farm.errorString()));
    QVERIFY2(farm.start(), qPrintable(farm.errorString()));
    const auto got = Client().ask(farm, QHostAddress("127.71.255.255"), 27015, kInfoRequest, 2);
    QSet<QString> senders;
    for (const QNetworkDatagram &d : got)
        senders.insert(QStringLiteral("%1:%2 %3").arg(d.senderAddress().toString()).arg(d.senderPort()).arg(d.data()[4]));
    const QSet<QString> expected = {"127.71.9.1:27015 m", QStringLiteral("127.71.9.2:%1 I").arg(farm.replyPort(1))};
    QCOMPARE(senders, expected);
    QVERIFY(farm.replyPort(1) != 27015);
}

void TestServerTest::programReportsReadyAndStopsOnSignal()
{
    ServerFarm example;
    QVERIFY2(example.loadFile(QStringLiteral(VANTOR_TESTDATA_DIR "/../../tools/testserver/examples/lan.json")),
             qPrintable(example.errorString()));

    QTemporaryFile file;
    QVERIFY(file.open());
    file.write(R"({"servers": [{"address": "127.71.0.10", "port": 27015, "dialect": "m"}]})");
    file.close();
    // With --quiet it answers the same and logs no request.
    for (const bool quiet : {false, true}) {
        QProcess program;
        QStringList args{file.fileName()};
        if (quiet)
            args << QStringLiteral("--quiet");
        program.start(QStringLiteral(VANTOR_TESTSERVER_TOOL), args);
        QVERIFY(program.waitForReadyRead(5000));
        QCOMPARE(program.readLine(), QByteArray("ready\n"));
        const QByteArray reply = Client().askProcess(QHostAddress("127.71.0.10"), 27015, kInfoRequest);
        QCOMPARE(reply.left(5), bytesOf("FF FF FF FF 'm'"));
        ::kill(pid_t(program.processId()), SIGTERM);
        QVERIFY(program.waitForFinished(5000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(program.readAllStandardError().contains("127.71.0.10:27015 <- 127.0.0.1:"), !quiet);
    }
}

QTEST_GUILESS_MAIN(TestServerTest)
#include "tst_testserver.moc"
