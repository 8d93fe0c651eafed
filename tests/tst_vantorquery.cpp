#include "buildinfo.h"
#include "serverfarm.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkDatagram>
#include <QProcess>
#include <QUdpSocket>
#include <QtTest>

namespace {

// Addresses and port of this test only, so that it can run beside a demo.
constexpr int kPort = 27115;
const QString kSilent = QStringLiteral("127.0.62.99");
// Runs that wait the timeout wait this long; the others end as soon as every
// named server has answered.
const QString kTimeout = QStringLiteral("2000");

QString host(int n)
{
    return QStringLiteral("127.0.62.%1").arg(n);
}

QJsonObject server(int n, const char *dialect, const char *gameDir, const char *description)
{
    return QJsonObject{{"address", host(n)}, {"port", kPort}, {"dialect", dialect}, {"gameDir", gameDir},
                       {"description", description}, {"name", QStringLiteral("Server %1").arg(n)},
                       {"map", QStringLiteral("map_%1").arg(n)}, {"maxPlayers", 20}};
}

QJsonObject with(QJsonObject o, const QJsonObject &more)
{
    for (auto it = more.begin(); it != more.end(); ++it)
        o.insert(it.key(), it.value());
    return o;
}

// The rules of a server with one rule. (Braces around a single array would
// make clang copy the inner array instead of nesting it.)
QJsonArray oneRule(const QString &name, const QString &value)
{
    QJsonArray rules;
    rules.append(QJsonArray{name, value});
    return rules;
}

QJsonArray players(std::initializer_list<std::pair<const char *, int>> list)
{
    QJsonArray a;
    for (const auto &[name, frags] : list)
        a.append(QJsonObject{{"name", QString::fromUtf8(name)}, {"frags", frags}});
    return a;
}

// One server of every game code and dialect, the details in every reply layout.
QJsonArray farmServers()
{
    return {
        with(server(1, "m", "cstrike", "Counter-Strike"),
             {{"playerList", players({{"Gordon", 21}, {"Barney", 17}, {"Тест игрок", 3}})},
              {"rules", oneRule("mp_timelimit", "30")},
              {"generateRules", 40},
              {"split", QJsonObject{{"layout", "goldsrc"}, {"fragmentSize", 600}}}}),
        with(server(2, "m", "cstrike", "Counter-Strike"), {{"protocol", 46}, {"players", 12}, {"maxPlayers", 12}}),
        with(server(3, "m", "czero", "Condition Zero"), {{"password", 1}, {"bots", 2}}),
        with(server(4, "I", "cstrike", "Counter-Strike: Source"),
             {{"generateRules", 261}, {"split", QJsonObject{{"layout", "source"}}}, {"bots", 5}}),
        server(5, "I", "cspromod", "CSPromod"),
        with(server(6, "both", "valve", "Half-Life"),
             {{"detailChallenge", false}, {"playerList", players({{"Freeman", 5}})},
              {"rules", oneRule("mp_fraglimit", "30")}}),
        server(7, "I", "hl2mp", "Deathmatch"),
        server(8, "I", "hl2mp", "Team Deathmatch"),
        server(9, "I", "hl2mp", "Capture The Flag"),
        server(10, "I", "hl2mp", "Half-Life 2 Deathmatch"),
        server(11, "m", "dod", "Day of Defeat"),
        with(server(12, "old", "tfc", "Team Fortress Classic"),
             {{"os", "w"}, {"playerList", players({{"Medic", 7}})},
              {"rules", oneRule("tfc_clanbattle", "0")}}),
        with(server(13, "I", "tf", "Team Fortress"),
             {{"infoChallenge", true}, {"playerList", players({{"Scout", 8}, {"Heavy", 14}})},
              {"generateRules", 100}, {"split", QJsonObject{{"layout", "source"}, {"reverse", true}}}}),
        server(14, "m", "dmc", "Deathmatch Classic"),
        server(15, "m", "ricochet", "Ricochet"),
        server(16, "I", "left4dead", "L4D - Co-op"),
        server(17, "I", "dod", "Day of Defeat: Source"),
        server(18, "I", "garrysmod", "Sandbox"),
        with(server(19, "old", "cstrike", "HLTV"), {{"proxy", "1"}, {"serverType", "p"}}),
        server(20, "m", "valve", "Demo Playback"),
        server(21, "I", "svencoop", "Sven Co-op"),
        QJsonObject{{"address", kSilent}, {"port", kPort}, {"silent", true}},
    };
}

constexpr int kServers = 21;

// Replies written by hand, for servers that are this test's own sockets.
QByteArray sourceInfo(const QByteArray &name)
{
    QByteArray d("\xFF\xFF\xFF\xFF" "I" "\x11", 6);
    d += name + '\0' + "map" + '\0' + "tf" + '\0' + "Team Fortress" + '\0';
    // App id 440, 1 player of 16, 3 bots, dedicated, Linux, open, no VAC.
    d += QByteArray("\xB8\x01" "\x01\x10\x03" "dl" "\x00\x00", 9);
    return d;
}
const QByteArray kOnePlayer("\xFF\xFF\xFF\xFF" "D\x01\x00" "Pyro\0\x05\0\0\0\0\0\0\0", 20);
const QByteArray kChallenge("\xFF\xFF\xFF\xFF" "A\x01\x02\x03\x04", 9);

struct Run
{
    int exitCode = -1;
    QList<QByteArray> lines;
    QString error;
};

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

} // namespace

class TstVantorQuery : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void arguments_data();
    void arguments();
    void information_data();
    void information();
    void everyGame_data();
    void everyGame();
    void details_data();
    void details();
    void rangeSweep();
    void nothingAnswers();
    void strangersAreIgnored();
    void table();
    void tableShowsNoControlCharacters_data();
    void tableShowsNoControlCharacters();

private:
    // The farm answers in this process, so the wait must keep its event loop running.
    Run runTool(const QStringList &args);
    Run finish(QProcess &process);
    QStringList listed(const Run &run);

    ServerFarm m_farm;
    QJsonArray m_config = farmServers();
    QHash<QString, QJsonObject> m_all; // address -> object of one run over every server
};

void TstVantorQuery::initTestCase()
{
    QVERIFY2(m_farm.load(QJsonObject{{"servers", m_config}}), qPrintable(m_farm.errorString()));
    QVERIFY2(m_farm.start(), qPrintable(m_farm.errorString()));

    QStringList args{"--port", QString::number(kPort), "--old", "--players", "--rules", "--json",
                     "--timeout", kTimeout};
    for (int n = 1; n <= kServers; ++n)
        args.append(host(n));
    args.append(kSilent);
    const Run run = runTool(args);
    QCOMPARE(run.exitCode, 0);
    for (const QByteArray &line : run.lines) {
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        QVERIFY2(!o.isEmpty(), line.constData());
        QVERIFY2(!m_all.contains(o.value("address").toString()), "a server listed twice");
        m_all.insert(o.value("address").toString(), o);
    }
    QCOMPARE(m_all.size(), kServers);
}

Run TstVantorQuery::runTool(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(VANTOR_QUERY_TOOL), args);
    return finish(process);
}

Run TstVantorQuery::finish(QProcess &process)
{
    Run run;
    if (!process.waitForStarted())
        return run;
    if (!QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 60000)
        || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitCode();
    run.lines = process.readAllStandardOutput().split('\n');
    run.lines.removeAll(QByteArray());
    run.error = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QStringList TstVantorQuery::listed(const Run &run)
{
    QStringList servers;
    for (const QByteArray &line : run.lines) {
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        servers.append(QStringLiteral("%1:%2").arg(o.value("address").toString()).arg(o.value("port").toInt()));
    }
    return sorted(servers);
}

void TstVantorQuery::arguments_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("servers"); // listed, for exit 0 and 1
    QTest::addColumn<QString>("message");     // on stderr

    const QString p = QString::number(kPort);
    const QString one = QStringLiteral("127.0.62.1:%1").arg(kPort);
    auto ok = [](const char *name, QStringList args, int code, QStringList servers, QString message = {}) {
        QTest::newRow(name) << (args << "--json" << "--timeout" << kTimeout) << code << servers << message;
    };
    ok("--port before the target", {"--port", p, host(1)}, 0, {one});
    ok("--port after the target", {host(1), "--port", p}, 0, {one});
    ok("own port wins over --port", {"--port", "1", one}, 0, {one});
    ok("default port 27015", {host(1)}, 1, {});
    ok("range with its own port", {QStringLiteral("127.0.62.5-127.0.62.6:%1").arg(p)}, 0,
       {QStringLiteral("127.0.62.5:%1").arg(p), QStringLiteral("127.0.62.6:%1").arg(p)});
    // A label longer than 63 characters fails in the resolver itself, before any query goes out.
    const QString unresolvable = QString(70, 'x') + ".example";
    ok("failed lookup does not stop the run", {"--port", p, unresolvable, host(1)}, 0, {one},
       "cannot resolve " + unresolvable);

    auto bad = [](const char *name, const QStringList &args, const char *message) {
        QTest::newRow(name) << args << 2 << QStringList() << QString::fromLatin1(message);
    };
    bad("no target", {}, "no target");
    bad("options only", {"--json", "--old"}, "no target");
    bad("unknown option", {"--verbose", host(1)}, "unknown option --verbose");
    bad("port value missing", {host(1), "--port"}, "--port needs a value");
    bad("timeout value missing", {host(1), "--timeout"}, "--timeout needs a value");
    bad("port 0", {"--port", "0", host(1)}, "invalid port 0");
    bad("port 65536", {"--port", "65536", host(1)}, "invalid port 65536");
    bad("port not a number", {"--port", "2701x", host(1)}, "invalid port 2701x");
    bad("target port 0", {"127.0.62.1:0"}, "invalid port in 127.0.62.1:0");
    bad("target port too big", {"127.0.62.1:70000"}, "invalid port in 127.0.62.1:70000");
    bad("target port empty", {"127.0.62.1:"}, "invalid port in 127.0.62.1:");
    bad("empty host", {":27115"}, "invalid address :27115");
    bad("field above 255", {"127.0.62.256"}, "invalid address 127.0.62.256");
    bad("three fields", {"127.0.62"}, "invalid address 127.0.62");
    bad("blank in a name", {"game server"}, "invalid address game server");
    bad("range end not dotted", {"127.0.62.1-gameserver"}, "invalid range 127.0.62.1-gameserver");
    bad("range end above 255", {"127.0.62.1-127.0.62.300"}, "invalid range");
    bad("range backwards", {"127.0.62.5-127.0.62.1"}, "invalid range");
    bad("range leaves its /16", {"127.0.62.1-127.1.0.1"}, "invalid range");
    bad("negative timeout", {"--timeout", "-1", host(1)}, "invalid timeout -1");
}

void TstVantorQuery::arguments()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QStringList, servers);
    QFETCH(QString, message);

    const Run run = runTool(args);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(listed(run), servers);
    if (exitCode == 2) {
        QVERIFY2(run.error.startsWith("vantor-query: ") && run.error.count('\n') == 1, qPrintable(run.error));
    }
    QVERIFY2(run.error.contains(message), qPrintable(run.error));
}

void TstVantorQuery::information_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output"); // start of stdout, or of stderr on exit 2

    const QString help = QStringLiteral("usage: vantor-query [--port N]");
    const QString version = QStringLiteral("vantor-query " VANTOR_VERSION "\n");
    QTest::newRow("--help") << QStringList{"--help"} << 0 << help;
    QTest::newRow("-h among targets") << QStringList{host(1), "-h", host(2)} << 0 << help;
    QTest::newRow("--version") << QStringList{"--version"} << 0 << version;
    QTest::newRow("error before --help") << QStringList{"--port", "0", "--help"} << 2
                                         << QStringLiteral("vantor-query: invalid port 0");
}

void TstVantorQuery::information()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    m_farm.clearRequests();
    const Run run = runTool(QStringList{"--port", QString::number(kPort)} + args);
    QCOMPARE(run.exitCode, exitCode);
    const QString printed = exitCode == 0 ? QString::fromUtf8(run.lines.join('\n') + '\n') : run.error;
    QVERIFY2(printed.startsWith(output), qPrintable(printed));
    if (exitCode == 0) {
        QVERIFY2(run.error.isEmpty(), qPrintable(run.error));
        if (output.startsWith(QLatin1String("vantor-query "))) {
            QCOMPARE(printed, output);
        } else {
            for (const char *option : {"--port", "--old", "--players", "--rules", "--timeout", "--json", "--lan", "--version"})
                QVERIFY2(printed.contains(QLatin1String(option)), option);
        }
    }
    // Asking for a text is no query.
    QVERIFY(m_farm.requests().isEmpty());
}

void TstVantorQuery::everyGame_data()
{
    QTest::addColumn<int>("server");
    QTest::addColumn<QString>("game");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("protocol");
    QTest::addColumn<QString>("access");

    QTest::newRow("1.6 (m)") << 1 << "1.6" << 12 << 47 << "free";
    QTest::newRow("1.5 full") << 2 << "1.5" << 12 << 46 << "full";
    QTest::newRow("CZ password") << 3 << "CZ" << 16 << 47 << "password";
    QTest::newRow("CSS (I)") << 4 << "CSS" << 14 << 17 << "free";
    QTest::newRow("CSP") << 5 << "CSP" << 14 << 17 << "free";
    QTest::newRow("HL (m and I)") << 6 << "HL" << 13 << 47 << "free";
    QTest::newRow("DM") << 7 << "DM" << 17 << 17 << "free";
    QTest::newRow("TDM") << 8 << "TDM" << 17 << 17 << "free";
    QTest::newRow("CTF") << 9 << "CTF" << 17 << 17 << "free";
    QTest::newRow("HL2") << 10 << "HL2" << 17 << 17 << "free";
    QTest::newRow("DOD") << 11 << "DOD" << 19 << 47 << "free";
    QTest::newRow("TFC (old text)") << 12 << "TFC" << 23 << 47 << "free";
    QTest::newRow("TF2 (info challenge)") << 13 << "TF2" << 21 << 17 << "free";
    QTest::newRow("DMC") << 14 << "DMC" << 24 << 47 << "free";
    QTest::newRow("RC") << 15 << "RC" << 25 << 47 << "free";
    QTest::newRow("L4D") << 16 << "L4D" << 26 << 17 << "free";
    QTest::newRow("DODS") << 17 << "DODS" << 20 << 17 << "free";
    QTest::newRow("GMOD") << 18 << "GMOD" << 22 << 17 << "free";
    QTest::newRow("HLTV proxy (old text)") << 19 << "1.6" << 15 << 47 << "free";
    QTest::newRow("demo playback") << 20 << "1.6" << 18 << 47 << "free";
    QTest::newRow("unknown mod") << 21 << "svencoop" << 11 << 17 << "free";
}

void TstVantorQuery::everyGame()
{
    QFETCH(int, server);
    QFETCH(QString, game);
    QFETCH(int, icon);
    QFETCH(int, protocol);
    QFETCH(QString, access);

    const QJsonObject config = m_config[server - 1].toObject();
    const QJsonObject o = m_all.value(host(server));
    QCOMPARE(o.value("address").toString(), host(server));
    QCOMPARE(o.value("port").toInt(), kPort);
    QCOMPARE(o.value("game").toString(), game);
    QCOMPARE(o.value("icon").toInt(), icon);
    QCOMPARE(o.value("protocol").toInt(), protocol);
    QCOMPARE(o.value("access").toString(), access);
    QCOMPARE(o.value("password").toInt(), config.value("password").toInt());
    QCOMPARE(o.value("proxy").toString(), server == 19 ? "1" : server == 12 ? "0" : "");
    QCOMPARE(o.value("gameDir").toString(), config.value("gameDir").toString());
    QCOMPARE(o.value("description").toString(), config.value("description").toString());
    QCOMPARE(o.value("name").toString(), config.value("name").toString());
    QCOMPARE(o.value("map").toString(), config.value("map").toString());
    QCOMPARE(o.value("maxPlayers").toInt(), config.value("maxPlayers").toInt());
    QCOMPARE(o.value("os").toString(), config.value("os").toString() == "w" ? "WIN" : "LIN");
    // The old text reply carries no bot count.
    const bool oldText = config.value("dialect").toString() == "old";
    QCOMPARE(o.value("bots"), oldText ? QJsonValue() : QJsonValue(config.value("bots").toInt()));
    QVERIFY2(o.value("ping").isDouble() && o.value("ping").toInt() >= 0, qPrintable(o.value("ping").toVariant().toString()));
}

void TstVantorQuery::details_data()
{
    QTest::addColumn<int>("server");
    QTest::addColumn<QJsonArray>("playerList");
    QTest::addColumn<int>("ruleCount");
    QTest::addColumn<QString>("firstRule"); // "name=value"
    QTest::addColumn<QString>("lastRule");

    QTest::newRow("goldsrc split, challenged") << 1 << players({{"Gordon", 21}, {"Barney", 17}, {"Тест игрок", 3}})
                                              << 41 << "mp_timelimit=30"
                                              << "rule_0040=value_0040_of_a_generated_rule";
    QTest::newRow("261 rules, source split") << 4 << QJsonArray() << 261
                                            << "rule_0001=value_0001_of_a_generated_rule"
                                            << "rule_0261=value_0261_of_a_generated_rule";
    QTest::newRow("unchallenged") << 6 << players({{"Freeman", 5}}) << 1 << "mp_fraglimit=30" << "mp_fraglimit=30";
    QTest::newRow("old text") << 12 << players({{"Medic", 7}}) << 1 << "tfc_clanbattle=0" << "tfc_clanbattle=0";
    QTest::newRow("reversed source split") << 13 << players({{"Scout", 8}, {"Heavy", 14}}) << 100
                                          << "rule_0001=value_0001_of_a_generated_rule"
                                          << "rule_0100=value_0100_of_a_generated_rule";
    QTest::newRow("no players, no rules") << 7 << QJsonArray() << 0 << "" << "";
}

void TstVantorQuery::details()
{
    QFETCH(int, server);
    QFETCH(QJsonArray, playerList);
    QFETCH(int, ruleCount);
    QFETCH(QString, firstRule);
    QFETCH(QString, lastRule);

    const QJsonObject o = m_all.value(host(server));
    const QStringList keys{"access", "address", "bots", "description", "game", "gameDir", "icon", "map",
                           "maxPlayers", "name", "os", "password", "ping", "playerList", "players",
                           "port", "protocol", "proxy", "rules"};
    QCOMPARE(sorted(o.keys()), keys);
    QCOMPARE(o.value("playerList").toArray(), playerList);
    const QJsonArray rules = o.value("rules").toArray();
    QCOMPARE(rules.size(), ruleCount);
    auto text = [](const QJsonValue &rule) {
        return rule.isUndefined() ? QString()
                                  : rule["name"].toString() + '=' + rule["value"].toString();
    };
    QCOMPARE(text(rules.first()), firstRule);
    QCOMPARE(text(rules.last()), lastRule);
}

void TstVantorQuery::rangeSweep()
{
    // Without --old the text-only server (12) stays silent; 25 has no server.
    const Run run = runTool({"--port", QString::number(kPort), "--json", "--timeout", kTimeout,
                             "127.0.62.10-127.0.62.14", "127.0.62.20-127.0.62.25"});
    QCOMPARE(run.exitCode, 0);
    QStringList expected;
    for (int n : {10, 11, 13, 14, 20, 21})
        expected.append(QStringLiteral("%1:%2").arg(host(n)).arg(kPort));
    QCOMPARE(listed(run), expected);
    for (const QByteArray &line : run.lines)
        QVERIFY(!QJsonDocument::fromJson(line).object().contains("playerList"));
}

void TstVantorQuery::nothingAnswers()
{
    m_farm.clearRequests();
    const Run run = runTool({"--port", QString::number(kPort), "--timeout", kTimeout, kSilent});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.lines.isEmpty());
    QVERIFY(run.error.isEmpty());
    const QList<RequestRecord> requests = m_farm.requests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests[0].kind, "T");
}

void TstVantorQuery::strangersAreIgnored()
{
    // The asked server is a socket of this test, so that it answers only after
    // strangers have written to the tool: one at another address, one at the
    // asked address but on another port. They go on writing info, players and
    // challenge replies until the tool ends, which it must do as soon as the
    // asked server has answered, long before its timeout.
    const QHostAddress askedAddress(QStringLiteral("127.0.62.40"));
    QUdpSocket asked, otherHost, otherPort;
    QVERIFY(asked.bind(askedAddress, kPort));
    QVERIFY(otherHost.bind(QHostAddress(QStringLiteral("127.0.62.41")), kPort));
    QVERIFY(otherPort.bind(askedAddress, 0));

    QHostAddress tool;
    quint16 toolPort = 0;
    int strangerRounds = 0;
    QTimer strangers;
    connect(&strangers, &QTimer::timeout, this, [&] {
        for (QUdpSocket *stranger : {&otherHost, &otherPort}) {
            for (const QByteArray &d : {sourceInfo("Stranger"), kOnePlayer, kChallenge})
                stranger->writeDatagram(d, tool, toolPort);
        }
        // Enough of them are on their way: now the asked server answers.
        if (++strangerRounds == 20)
            asked.writeDatagram(sourceInfo("Asked"), tool, toolPort);
    });
    connect(&asked, &QUdpSocket::readyRead, this, [&] {
        while (asked.hasPendingDatagrams()) {
            const QNetworkDatagram d = asked.receiveDatagram();
            if (d.data().mid(4, 1) == "T" && !strangers.isActive()) {
                tool = d.senderAddress();
                toolPort = quint16(d.senderPort());
                strangers.start(5);
            } else if (d.data().mid(4, 1) == "U") {
                asked.writeDatagram(kOnePlayer, tool, toolPort);
            }
        }
    });

    QProcess process;
    process.start(QStringLiteral(VANTOR_QUERY_TOOL),
                  {"--json", "--players", "--timeout", "60000", QStringLiteral("127.0.62.40:%1").arg(kPort)});
    const Run run = finish(process);
    QVERIFY(strangerRounds >= 20);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(listed(run), QStringList{QStringLiteral("127.0.62.40:%1").arg(kPort)});
    const QJsonObject o = QJsonDocument::fromJson(run.lines.value(0)).object();
    QCOMPARE(o.value("name").toString(), "Asked");
    QCOMPARE(o.value("bots").toInt(), 3);
    QCOMPARE(o.value("playerList").toArray(), players({{"Pyro", 5}}));
    // Not one challenge answer or details request went to a stranger.
    QVERIFY(!otherHost.hasPendingDatagrams());
    QVERIFY(!otherPort.hasPendingDatagrams());
}

void TstVantorQuery::table()
{
    const Run run = runTool({"--port", QString::number(kPort), "--players", "--timeout", kTimeout,
                             host(1), host(3)});
    QCOMPARE(run.exitCode, 0);
    QStringList lines;
    for (const QByteArray &line : run.lines)
        lines.append(QString::fromUtf8(line));
    QVERIFY(lines.size() >= 3);
    const QString header = lines[0];
    QVERIFY2(header.startsWith("Game  "), qPrintable(header));
    const qsizetype nameAt = header.indexOf("Name");
    const qsizetype addressAt = header.indexOf("Address");
    const qsizetype accessAt = header.lastIndexOf(" A") + 1;
    // Rows come sorted by address.
    const qsizetype row1 = lines.indexOf(QRegularExpression("^1\\.6 .*"));
    QVERIFY2(row1 > 0 && row1 + 2 < lines.size(), qPrintable(lines.join('\n')));
    QCOMPARE(lines[row1].mid(nameAt, 8), "Server 1");
    QCOMPARE(lines[row1].mid(addressAt, 11), "127.0.62.1 ");
    QCOMPARE(lines[row1].mid(accessAt), "free");
    QCOMPARE(lines[row1 + 1], "    Players: 3");
    QVERIFY2(lines.contains("        Тест игрок  3"), qPrintable(lines.join('\n')));
    const qsizetype row3 = lines.indexOf(QRegularExpression("^CZ .*"));
    QVERIFY(row3 > 0);
    QCOMPARE(lines[row3].mid(accessAt), "password");
    QCOMPARE(lines[row3 + 1], "    Players: 0");
}

void TstVantorQuery::tableShowsNoControlCharacters_data()
{
    QTest::addColumn<QString>("sent");
    QTest::addColumn<QString>("shown");
    const QString x = QString(QChar::ReplacementCharacter);
    QTest::newRow("terminal title") << "\x1b]0;owned\x07" << x + "]0;owned" + x;
    QTest::newRow("clear screen") << "\x1b[2J\x1b[H" << x + "[2J" + x + "[H";
    QTest::newRow("C1 and DEL") << QStringLiteral("\u009b2J\x7f") << x + "2J" + x;
    QTest::newRow("line break") << "a\r\nb" << "a" + x + x + "b";
}

void TstVantorQuery::tableShowsNoControlCharacters()
{
    QFETCH(QString, sent);
    QFETCH(QString, shown);
    const QString address = host(80);
    ServerFarm farm;
    const QJsonObject evil = with(server(80, "I", "cstrike", "Counter-Strike"),
                                  {{"name", "N" + sent}, {"map", "M" + sent},
                                   {"playerList", QJsonArray{QJsonObject{{"name", "P" + sent}, {"frags", 1}}}},
                                   {"rules", oneRule("R" + sent, "V" + sent)}});
    QVERIFY2(farm.load(QJsonObject{{"servers", QJsonArray{evil}}}), qPrintable(farm.errorString()));
    QVERIFY2(farm.start(), qPrintable(farm.errorString()));
    const Run run = runTool({"--port", QString::number(kPort), "--players", "--rules", "--timeout", "300", address});
    QCOMPARE(run.exitCode, 0);
    const QString out = QString::fromUtf8(run.lines.join('\n'));
    for (const QChar c : out)
        QVERIFY2(c == u'\n' || (c >= u' ' && c != u'\x7f' && (c < u'\x80' || c > u'\x9f')), qPrintable(out));
    for (const char *field : {"N", "M", "P", "R", "V"})
        QVERIFY2(out.contains(field + shown), qPrintable(out));
}

QTEST_GUILESS_MAIN(TstVantorQuery)
#include "tst_vantorquery.moc"
