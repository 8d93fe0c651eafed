#include "benchmarks.h"
#include "farmprocess.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>

namespace {

constexpr int ServerCount = 254;
constexpr int ServerPort = 27416;
// Rounds of each kind; within a round the two tools take turns going first.
constexpr int Rounds = 7;
constexpr int ToolTimeoutMs = 120000;
constexpr int SplitRules = 120;
constexpr double TargetRatio = 1.0;

QString serverAddress(int index)
{
    return QStringLiteral("127.3.0.%1").arg(index + 1);
}

// What server `index` holds: index % 9 players, five rules, and for every
// sixth server a long rules reply that comes in split parts.
int playerCount(int index)
{
    return index % 9;
}

QStringList ruleNames(int index)
{
    QStringList names{"r0", "r1", "r2", "r3", "r4"};
    if (index % 6 == 0)
        names << QStringLiteral("rule_%1").arg(SplitRules, 4, 10, QLatin1Char('0'));
    return names;
}

// Source, Half-Life and two-reply servers in turn; every seventh asks for a
// challenge before it answers the info request, every one before details.
QJsonObject farmConfig()
{
    const char *const dialects[] = {"I", "m", "both", "I", "m"};
    QJsonArray servers;
    for (int i = 0; i < ServerCount; ++i) {
        const QString dialect = QString::fromLatin1(dialects[i % 5]);
        QJsonArray players;
        for (int p = 0; p < playerCount(i); ++p)
            players.append(QJsonObject{{"name", QStringLiteral("player %1").arg(p)}, {"frags", p}, {"time", 60.5}});
        QJsonObject rules;
        for (int r = 0; r < 5; ++r)
            rules.insert(QStringLiteral("r%1").arg(r), QString::number(r));
        QJsonObject server{{"address", serverAddress(i)},
                           {"port", ServerPort},
                           {"dialect", dialect},
                           {"name", QStringLiteral("Bench server %1").arg(i + 1)},
                           {"map", "de_dust2"},
                           {"gameDir", "cstrike"},
                           {"description", dialect == "I" ? "Counter-Strike: Source" : "Counter-Strike"},
                           {"protocol", dialect == "I" ? 17 : 48},
                           {"maxPlayers", 32},
                           {"bots", i % 3},
                           {"playerList", players},
                           {"rules", rules},
                           {"infoChallenge", i % 7 == 0}};
        if (i % 6 == 0) {
            server.insert("generateRules", SplitRules);
            server.insert("split", QJsonObject{{"layout", dialect == "I" ? "source" : "goldsrc"}});
        }
        servers.append(server);
    }
    return QJsonObject{{"servers", servers}};
}

// The index of the server at "127.3.0.N" (a port after a colon is ignored), or -1.
int serverIndex(const QString &address)
{
    const QString host = address.section(u':', 0, 0);
    if (!host.startsWith(QLatin1String("127.3.0.")))
        return -1;
    bool ok = false;
    const int n = host.mid(8).toInt(&ok);
    return ok && n >= 1 && n <= ServerCount ? n - 1 : -1;
}

struct Report
{
    qint64 nanoseconds = 0;
    int listed = 0;   // servers reported as answering
    int complete = 0; // of those, with every player and rule
};

bool hasRules(int index, const QStringList &names)
{
    const QStringList wanted = ruleNames(index);
    return std::all_of(wanted.begin(), wanted.end(), [&](const QString &n) { return names.contains(n); });
}

QByteArray runTool(const QString &program, const QStringList &args, qint64 &nanoseconds)
{
    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(program, args);
    if (!process.waitForFinished(ToolTimeoutMs) || process.exitStatus() != QProcess::NormalExit)
        throw BenchError((program + QStringLiteral(" did not finish")).toStdString());
    nanoseconds = timer.nsecsElapsed();
    return process.readAllStandardOutput();
}

QStringList targets()
{
    QStringList list;
    for (int i = 0; i < ServerCount; ++i)
        list << QStringLiteral("%1:%2").arg(serverAddress(i)).arg(ServerPort);
    return list;
}

Report runVantorQuery(bool details)
{
    QStringList args{"--json"};
    if (details)
        args << "--players" << "--rules";
    Report report;
    const QByteArray out = runTool(QStringLiteral(VANTOR_QUERY_TOOL), args + targets(), report.nanoseconds);
    for (const QByteArray &line : out.split('\n')) {
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        const int index = serverIndex(o.value("address").toString());
        if (index < 0)
            continue;
        ++report.listed;
        QStringList rules;
        for (const QJsonValue &rule : o.value("rules").toArray())
            rules << rule["name"].toString();
        if (o.value("playerList").toArray().size() == playerCount(index) && hasRules(index, rules))
            ++report.complete;
    }
    return report;
}

Report runQuakestat(const QString &quakestat, bool details)
{
    QStringList args{"-json", "-default", "a2s"};
    if (details)
        args << "-P" << "-R";
    Report report;
    const QByteArray out = runTool(quakestat, args + targets(), report.nanoseconds);
    for (const QJsonValue &v : QJsonDocument::fromJson(out).array()) {
        const QJsonObject o = v.toObject();
        const int index = serverIndex(o.value("address").toString());
        if (index < 0 || o.value("status").toString() != QLatin1String("online"))
            continue;
        ++report.listed;
        if (o.value("players").toArray().size() == playerCount(index)
            && hasRules(index, o.value("rules").toObject().keys()))
            ++report.complete;
    }
    return report;
}

// The one-minute load average: on a busy machine the start-up of a Qt
// program weighs more than that of quakestat, so the figure depends on it.
QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    return QString::fromLatin1(file.readAll().split(' ').value(0));
}

template <class T>
T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Rounds of both tools on the same servers, alternating which goes first:
// the median of the time ratios, the median times and the fewest servers
// each reported (complete ones when details were asked).
std::vector<Figure> compare(const QString &quakestat, bool details)
{
    std::vector<double> ratios;
    std::vector<qint64> ours, theirs;
    int oursFewest = ServerCount, theirsFewest = ServerCount;
    for (int round = 0; round < Rounds; ++round) {
        Report mine, other;
        if (round % 2 == 0) {
            mine = runVantorQuery(details);
            other = runQuakestat(quakestat, details);
        } else {
            other = runQuakestat(quakestat, details);
            mine = runVantorQuery(details);
        }
        ratios.push_back(double(mine.nanoseconds) / double(qMax<qint64>(other.nanoseconds, 1)));
        ours.push_back(mine.nanoseconds);
        theirs.push_back(other.nanoseconds);
        oursFewest = qMin(oursFewest, details ? mine.complete : mine.listed);
        theirsFewest = qMin(theirsFewest, details ? other.complete : other.listed);
    }
    const QString what = details ? QStringLiteral("players+rules") : QStringLiteral("info round");
    Figure ratio{QStringLiteral("query %1 vs quakestat").arg(what), median(ratios), TargetRatio,
                 QStringLiteral("x"), false, 2, {}};
    ratio.detail = QStringLiteral("median of %1 rounds; vantor-query %2, quakestat %3 (medians); load %4")
                       .arg(Rounds)
                       .arg(millisecondsText(median(ours)), millisecondsText(median(theirs)), loadAverage());
    Figure servers{QStringLiteral("query %1 servers").arg(details ? QStringLiteral("complete") : QStringLiteral("listed")),
                   double(oursFewest), double(ServerCount), QStringLiteral("of 254"), true, 0, {}};
    servers.detail = QStringLiteral("fewest of %1 rounds, %2; quakestat %3")
                         .arg(Rounds)
                         .arg(what)
                         .arg(theirsFewest);
    return {ratio, servers};
}

} // namespace

std::vector<Figure> benchQuery()
{
    const QString quakestat = QStandardPaths::findExecutable(QStringLiteral("quakestat"));
    if (quakestat.isEmpty())
        throw BenchError("quakestat is not installed (Debian package qstat; scripts/setup installs it)");
    const FarmProcess farm(farmConfig(), ServerPort);
    std::vector<Figure> figures = compare(quakestat, false);
    for (const Figure &f : compare(quakestat, true))
        figures.push_back(f);
    return figures;
}
