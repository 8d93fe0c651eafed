#include "benchmarks.h"
#include "benchwindow.h"
#include "eventgap.h"
#include "farmprocess.h"

#include "net/udpendpoint.h"
#include "query/detailparse.h"
#include "query/queryprotocol.h"
#include "scan/serverlistmodel.h"

#include <QHostAddress>
#include <QJsonArray>
#include <QRandomGenerator>
#include <QTableView>
#include <QUdpSocket>
#include <QtEndian>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace {

constexpr int HostileCount = 100000;
constexpr int HostileSenders = 96; // 127.4.1.1 and on: more senders than the split sets allowed at once
constexpr int GrowingSenders = 16; // the first ones send only fragments of one set each
constexpr int BatchSize = 100;
constexpr auto BatchPause = std::chrono::microseconds(4000); // about 25,000 datagrams a second
const QString GenuineAddress = QStringLiteral("127.4.0.1");
constexpr int GenuinePort = 27515;
constexpr int PlayerCount = 58;
constexpr int RuleCount = 300;
constexpr int DetailsTimeoutMs = 3000;
constexpr int AskPauseMs = 250; // between one answer and the next question, as a user clicks
constexpr double TargetGapMs = 50;
constexpr double TargetGrowthMB = 70;

QString playerName(int i)
{
    return QStringLiteral("Player %1 \u2605").arg(i, 2, 10, QLatin1Char('0'));
}

// A Source server whose players and rules come in split replies after a challenge.
QJsonObject genuineConfig()
{
    QJsonArray players;
    for (int i = 0; i < PlayerCount; ++i)
        players.append(QJsonObject{{"name", playerName(i)}, {"frags", i * 3 - 20}});
    const QJsonObject server{{"address", GenuineAddress}, {"port", GenuinePort}, {"name", "Genuine"},
                             {"playerList", players}, {"generateRules", RuleCount},
                             {"split", QJsonObject{{"layout", "source"}, {"fragmentSize", 1000}}}};
    return QJsonObject{{"servers", QJsonArray{server}}};
}

QVector<PlayerRow> genuinePlayers()
{
    QVector<PlayerRow> players;
    for (int i = 0; i < PlayerCount; ++i)
        players.append({playerName(i), i * 3 - 20});
    std::sort(players.begin(), players.end(), [](const PlayerRow &a, const PlayerRow &b) {
        return a.name + u'\t' + QString::number(a.frags) < b.name + u'\t' + QString::number(b.frags);
    });
    return players;
}

QVector<RuleRow> genuineRules()
{
    QVector<RuleRow> rules;
    for (int i = 1; i <= RuleCount; ++i) {
        const QString number = QString::number(i).rightJustified(4, u'0');
        rules.append({QStringLiteral("rule_") + number, QStringLiteral("value_") + number + QStringLiteral("_of_a_generated_rule")});
    }
    return rules;
}

QByteArray littleEndian32(quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    return QByteArray(bytes, 4);
}

// The hostile mix: garbage, truncated replies, split fragments of sets that
// never complete (with the largest counts), challenges nobody asked for and
// replies forged by other senders, in a fixed order from a fixed seed.
class HostileMix
{
public:
    QByteArray next(int i)
    {
        const QByteArray header("\xFF\xFF\xFF\xFF", 4);
        switch (i % 10) {
        case 0:
        case 1:
            return randomBytes(int(rng.bounded(1400)));
        case 2: {
            const QByteArray replies[] = {forgedInfo(), forgedPlayers(), forgedRules()};
            const QByteArray &reply = replies[rng.bounded(3)];
            return reply.left(int(rng.bounded(int(reply.size()))));
        }
        case 3:
        case 4:
        case 5: {
            // Never a first fragment, so the set stays open: a fresh id, or (from
            // senders of their own) always the same, so that sets grow to their limits.
            const quint32 id = i % 10 == 5 ? 7 : quint32(i) & 0x7FFFFFFF;
            QByteArray d = QByteArray("\xFE\xFF\xFF\xFF", 4) + littleEndian32(id);
            if (i % 2) {
                d += char(0xFF); // Source: 255 fragments, this one numbered 1 to 254
                d += char(1 + rng.bounded(254));
                d += QByteArray("\xE0\x04", 2) + randomBytes(1236);
            } else {
                d += char((1 + rng.bounded(14)) << 4 | 15); // Half-Life: 15 fragments, numbered 1 to 14
                d += randomBytes(1391);
            }
            return d;
        }
        case 6:
            return header + 'A' + randomBytes(4);
        case 7:
            return forgedPlayers();
        case 8:
            return forgedRules();
        default:
            return i % 20 == 9 ? forgedInfo()
                               : QByteArray("\xFE\xFF\xFF\xFF", 4) + littleEndian32(0x80000000u | quint32(i)) + randomBytes(40);
        }
    }

private:
    QByteArray randomBytes(int size)
    {
        QByteArray bytes(size, Qt::Uninitialized);
        for (char &b : bytes)
            b = char(rng.bounded(256));
        return bytes;
    }
    static QByteArray forgedPlayers()
    {
        QByteArray d("\xFF\xFF\xFF\xFF\x44\x02", 6);
        for (const char *name : {"evil", "worse"})
            d += '\0' + QByteArray(name) + '\0' + littleEndian32(7) + littleEndian32(0);
        return d;
    }
    static QByteArray forgedRules()
    {
        return QByteArray("\xFF\xFF\xFF\xFF\x45\x01\x00", 7) + QByteArray("sv_cheats") + '\0' + '1' + '\0';
    }
    static QByteArray forgedInfo()
    {
        QByteArray d("\xFF\xFF\xFF\xFF\x49\x11", 6);
        for (const char *text : {"Forged", "de_dust2", "cstrike", "Counter-Strike"})
            d += QByteArray(text) + '\0';
        return d + QByteArray("\xF0\x00\x05\x10\x00" "dl\x00\x01", 9);
    }

    QRandomGenerator rng{20240412};
};

// Sends the hostile mix to the window's port from a thread of its own, paced,
// until it is done or told to stop.
class Flood
{
public:
    explicit Flood(quint16 port)
    {
        thread = std::thread([this, port] { run(port); });
    }
    ~Flood() { wait(); }
    bool running() const { return !finished; }
    void wait()
    {
        if (thread.joinable())
            thread.join();
    }
    int sent() const { return sentCount; }

private:
    void run(quint16 port)
    {
        std::vector<std::unique_ptr<QUdpSocket>> senders;
        for (int s = 0; s < HostileSenders; ++s) {
            auto socket = std::make_unique<QUdpSocket>();
            if (socket->bind(QHostAddress(QStringLiteral("127.4.1.%1").arg(s + 1)), 0))
                senders.push_back(std::move(socket));
        }
        HostileMix mix;
        const QHostAddress target(QStringLiteral("127.0.0.1"));
        for (int i = 0; i < HostileCount && senders.size() > 1; ++i) {
            const QByteArray d = mix.next(i);
            const size_t growing = std::min<size_t>(GrowingSenders, senders.size() - 1);
            const size_t sender = i % 10 == 5 ? size_t(i / 10) % growing
                                              : growing + size_t(i) % (senders.size() - growing);
            if (senders[sender]->writeDatagram(d, target, port) == d.size())
                ++sentCount;
            if (i % BatchSize == BatchSize - 1)
                std::this_thread::sleep_for(BatchPause);
        }
        finished = true;
    }

    std::thread thread;
    std::atomic<bool> finished{false};
    std::atomic<int> sentCount{0};
};

// The rows a list shows, each as its cells' texts joined by a tab.
QStringList shownRows(const TForm1 &form, const char *list)
{
    QStringList rows;
    const QAbstractItemModel *model = form.findChild<QTableView *>(QLatin1String(list))->model();
    for (int row = 0; row < model->rowCount(); ++row)
        rows << model->index(row, 0).data().toString() + u'\t' + model->index(row, 1).data().toString();
    return rows;
}

bool genuineShown(const TForm1 &form)
{
    static const QStringList players = [] {
        QStringList rows;
        for (const PlayerRow &p : genuinePlayers())
            rows << p.name + u'\t' + QString::number(p.frags);
        return rows;
    }();
    static const QStringList rules = [] {
        QStringList rows;
        for (const RuleRow &r : genuineRules())
            rows << r.name + u'\t' + r.value;
        return rows;
    }();
    QStringList shownPlayers = shownRows(form, "LWPlayers");
    shownPlayers.sort(); // the list orders them by frags
    return shownPlayers == players && shownRows(form, "LWRules") == rules;
}

} // namespace

std::vector<Figure> benchFlood()
{
    const FarmProcess genuine(genuineConfig(), GenuinePort);
    BenchWindow w;
    w.settings.ranges.clear();
    w.settings.favorites.clear();
    w.settings.broadcast = false;
    w.settings.scanOld = false;
    w.show();
    TForm1 &form = *w.form;
    ServerListModel &servers = form.session().servers();
    if (!form.session().protocol().sendInfoQuery(GenuineAddress, GenuinePort)
        || !processEventsUntil([&] { return servers.findRow(GenuineAddress, GenuinePort) >= 0; }, 5000))
        throw BenchError("the genuine server was not listed");
    form.selectRow(servers.findRow(GenuineAddress, GenuinePort));
    if (!processEventsUntil([&] { return genuineShown(form); }, DetailsTimeoutMs))
        throw BenchError("the genuine server's players and rules did not arrive without a flood");

    const quint16 port = quint16(form.session().endpoint().localPort());
    EventGapMeter gaps;
    BestTime gap;
    qint64 worstGap = 0;
    qint64 growth = 0;
    int rounds = 0;
    int whole = 0;
    int sent = 0;
    const qint64 droppedBefore = droppedDatagrams(port);
    for (int run = 0; run < BestOfRuns; ++run) {
        resetPeakResident();
        const qint64 before = residentBytes();
        gaps.start();
        Flood flood(port);
        // Ask again and again while the flood lasts; every answer must be whole.
        while (flood.running()) {
            form.LWSelectItem();
            ++rounds;
            whole += processEventsUntil([&] { return genuineShown(form); }, DetailsTimeoutMs) ? 1 : 0;
            processEventsUntil([&] { return !flood.running(); }, AskPauseMs);
        }
        flood.wait();
        // What is still queued must not replace the lists either.
        processEventsUntil([] { return false; }, 300);
        whole -= genuineShown(form) ? 0 : 1;
        gaps.stop();
        sent += flood.sent();
        gap.take(gaps.longestGapNanoseconds());
        worstGap = qMax(worstGap, gaps.longestGapNanoseconds());
        growth = qMax(growth, peakResidentBytes() - before);
        if (!w.prompter.shown.isEmpty())
            throw BenchError(("the flood showed: " + w.prompter.shown.join(u' ')).toStdString());
    }
    const qint64 dropped = droppedDatagrams(port) - droppedBefore;

    Figure gapFigure = durationFigure(QStringLiteral("event gap, flood"), gap.nanoseconds(), TargetGapMs);
    gapFigure.detail = QStringLiteral("worst run %1; %2 hostile datagrams a run, %3 of all dropped by the kernel")
                           .arg(millisecondsText(worstGap), countText(HostileCount),
                                dropped < 0 ? QStringLiteral("unknown") : countText(dropped))
                       + (sent == HostileCount * BestOfRuns ? QString() : QStringLiteral("; only %1 sent").arg(countText(sent)));
    Figure growthFigure = memoryFigure(QStringLiteral("memory growth, flood"), growth, TargetGrowthMB);
    growthFigure.detail = QStringLiteral("VmHWM during a run less VmRSS before it, largest of %1 runs").arg(BestOfRuns);
    Figure details{QStringLiteral("genuine details whole"), double(whole), double(rounds), QStringLiteral("asked"),
                   true, 0, {}};
    details.detail = QStringLiteral("%1 players and %2 rules, asked %3 times during the floods").arg(PlayerCount).arg(RuleCount).arg(rounds);
    return {gapFigure, growthFigure, details};
}
