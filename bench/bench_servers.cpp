#include "benchmarks.h"
#include "benchwindow.h"
#include "eventgap.h"
#include "farmprocess.h"

#include "net/udpendpoint.h"
#include "scan/scanengine.h"
#include "scan/serverlistmodel.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <QTimer>

namespace {

constexpr int ServerCount = 5000;
constexpr int ServersPerBlock = 250;
constexpr int ServerPort = 27415;
// After the sweep: wait this long for the next row, at most SettleMaxMs in all.
constexpr int QuietMs = 1000;
constexpr int SettleMaxMs = 5000;
constexpr double TargetGapMs = 50;
constexpr double TargetPeakMB = 150;

const char *const maps[] = {"de_dust2", "cs_office", "de_inferno", "de_nuke", "cs_italy"};

QString serverAddress(int index)
{
    return QStringLiteral("127.2.%1.%2").arg(index / ServersPerBlock).arg(index % ServersPerBlock + 1);
}

QJsonObject farmConfig()
{
    QJsonArray servers;
    for (int i = 0; i < ServerCount; ++i) {
        servers.append(QJsonObject{{"address", serverAddress(i)},
                                   {"port", ServerPort},
                                   {"name", QStringLiteral("LAN server #%1 | fast download").arg(i)},
                                   {"map", maps[i % 5]},
                                   {"gameDir", "cstrike"},
                                   {"description", "Counter-Strike: Source"},
                                   {"appId", 240},
                                   {"maxPlayers", 32},
                                   {"players", i % 33},
                                   {"password", i % 9 == 0}});
    }
    return QJsonObject{{"servers", servers}};
}

} // namespace

std::vector<Figure> benchServers()
{
    const FarmProcess farm(farmConfig(), ServerPort);

    // The peak from here on: the window, its 5,000 rows and what the sweeps use,
    // not what earlier benchmarks of this run left behind.
    const qint64 peakBefore = peakResidentBytes();
    resetPeakResident();

    BenchWindow w;
    w.settings.ranges = {{true, serverAddress(0), serverAddress(ServerCount - 1)}};
    w.settings.favorites.clear();
    w.settings.broadcast = false;
    w.settings.scanOld = false;
    w.settings.delay = 0;
    w.settings.gameType = 0;
    w.settings.csPort = QString::number(ServerPort);
    w.show();

    ServerListModel &servers = w.form->session().servers();
    ScanEngine &engine = w.form->session().engine();
    EventGapMeter gaps;
    BestTime gap;
    qint64 worstGap = 0;
    BestTime listed;
    int fewestRows = ServerCount;
    for (int run = 0; run < BestOfRuns; ++run) {
        QElapsedTimer timer;
        gaps.start();
        timer.start();
        engine.scanAll();
        int rows = -1;
        QElapsedTimer quiet;
        // Until every server is listed, or no new row came for a while.
        processEventsUntil(
            [&] {
                if (servers.rowCount() != rows) {
                    rows = servers.rowCount();
                    quiet.start();
                }
                return rows >= ServerCount || quiet.elapsed() >= QuietMs;
            },
            SettleMaxMs);
        listed.take(timer.nsecsElapsed());
        gaps.stop();
        gap.take(gaps.longestGapNanoseconds());
        worstGap = qMax(worstGap, gaps.longestGapNanoseconds());
        engine.findChild<QTimer *>(QStringLiteral("Timer"))->stop();
        fewestRows = qMin(fewestRows, servers.rowCount());
        if (!w.prompter.shown.isEmpty())
            throw BenchError(("the sweep showed: " + w.prompter.shown.join(u' ')).toStdString());
    }
    const qint64 peak = peakResidentBytes();
    const qint64 dropped = droppedDatagrams(w.form->session().endpoint().localPort());

    Figure rows{QStringLiteral("servers listed of 5,000"), double(fewestRows), double(ServerCount),
                QStringLiteral("rows"), true, 0, {}};
    rows.detail = QStringLiteral("fewest of %1 sweeps; best %2 from Scan to the last row; %3 datagrams dropped")
                      .arg(BestOfRuns)
                      .arg(millisecondsText(listed.nanoseconds()),
                           dropped < 0 ? QStringLiteral("unknown") : countText(dropped));
    Figure peakFigure = memoryFigure(QStringLiteral("peak memory, 5,000 rows"), peak, TargetPeakMB);
    peakFigure.detail = QStringLiteral("VmHWM since the window was built; %1 MB before")
                            .arg(double(peakBefore) / 1e6, 0, 'f', 1);
    Figure gapFigure = durationFigure(QStringLiteral("event gap, 5,000 replies"), gap.nanoseconds(), TargetGapMs);
    gapFigure.detail = QStringLiteral("worst sweep %1").arg(millisecondsText(worstGap));
    return {rows, gapFigure, peakFigure};
}
