#include "benchmarks.h"
#include "benchwindow.h"
#include "eventgap.h"

#include "query/packets.h"
#include "scan/addressrange.h"
#include "scan/scanengine.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QTimer>
#include <QUdpSocket>

namespace {

// The largest range the settings admit: 255 blocks of 255 addresses.
const QString RangeFrom = QStringLiteral("127.1.0.0");
const QString RangeTo = QStringLiteral("127.1.254.254");
constexpr double TargetRatio = 0.7;
constexpr double TargetGapMs = 16;
// Stop is seen at the sweep's next step: at most one step after it.
constexpr double TargetStepsAfterStop = 2;

// A port that nobody listens on: the system hands out only free ones, and the
// socket that took it is gone before the sweep starts.
quint16 unusedPort()
{
    QUdpSocket probe;
    if (!probe.bind(QHostAddress::AnyIPv4, 0, QUdpSocket::DontShareAddress))
        throw BenchError("no free UDP port");
    return probe.localPort();
}

// The same datagrams with nothing but a socket: the least a sweep can cost.
qint64 bareLoop(QUdpSocket &socket, const RequestPackets &packets, bool old, quint16 port)
{
    QElapsedTimer timer;
    timer.start();
    RangeWalker walker(RangeFrom, RangeTo);
    quint32 address = 0;
    while (walker.next(address)) {
        const QHostAddress to(address);
        socket.writeDatagram(packets.infoQuery, to, port);
        if (old)
            socket.writeDatagram(packets.oldInfoQuery, to, port);
    }
    return timer.nsecsElapsed();
}

struct SweepRun
{
    BestTime sweep;
    BestTime bare;
    BestTime gap;
    qint64 worstGap = 0;
};

// Scan pressed, and the event loop run until the sweep's last step: the
// sweep goes on in steps of its timer, as in the program.
qint64 runSweep(ScanEngine &engine)
{
    QEventLoop loop;
    const QMetaObject::Connection ended = QObject::connect(&engine, &ScanEngine::controlsChanged, &loop, [&] {
        if (!engine.sweepRunning())
            loop.quit();
    });
    QElapsedTimer timer;
    timer.start();
    engine.scanAll();
    if (engine.sweepRunning())
        loop.exec();
    const qint64 elapsed = timer.nsecsElapsed();
    QObject::disconnect(ended);
    return elapsed;
}

// Stop pressed a few steps into the sweep; the steps the sweep took from then on.
int stepsAfterStop(ScanEngine &engine)
{
    auto *steps = engine.findChild<QTimer *>(QStringLiteral("SweepTimer"));
    int step = 0;
    int afterStop = 0;
    bool stopped = false;
    QEventLoop loop;
    const QMetaObject::Connection each = QObject::connect(steps, &QTimer::timeout, &loop, [&] {
        if (stopped)
            ++afterStop;
        else if (++step == 10) {
            engine.stop();
            stopped = true;
        }
    });
    const QMetaObject::Connection ended = QObject::connect(&engine, &ScanEngine::controlsChanged, &loop, [&] {
        if (!engine.sweepRunning())
            loop.quit();
    });
    engine.scanAll();
    if (engine.sweepRunning())
        loop.exec();
    QObject::disconnect(each);
    QObject::disconnect(ended);
    if (!stopped || engine.controls().activityPanel() != QLatin1String(" Scan stoped"))
        throw BenchError("the sweep was not stopped");
    return afterStop;
}

SweepRun measure(BenchWindow &w, bool old, quint16 port, int addresses)
{
    w.settings.scanOld = old;
    QUdpSocket socket;
    if (!socket.bind(QHostAddress::AnyIPv4, 0))
        throw BenchError("the bare loop's socket cannot be bound");
    const RequestPackets packets;
    ScanEngine &engine = w.form->session().engine();
    EventGapMeter gaps;
    SweepRun result;
    for (int run = 0; run < BestOfRuns; ++run) {
        result.bare.take(bareLoop(socket, packets, old, port));

        gaps.start();
        result.sweep.take(runSweep(engine));
        gaps.stop();
        result.gap.take(gaps.longestGapNanoseconds());
        result.worstGap = qMax(result.worstGap, gaps.longestGapNanoseconds());
        engine.findChild<QTimer *>(QStringLiteral("Timer"))->stop();

        if (!w.prompter.shown.isEmpty())
            throw BenchError(("the sweep showed: " + w.prompter.shown.join(u' ')).toStdString());
        if (engine.controls().progress() != addresses || engine.controls().sentPanel() != QString::number(addresses))
            throw BenchError(QStringLiteral("the sweep sent to %1 of %2 addresses")
                                 .arg(engine.controls().progress())
                                 .arg(addresses)
                                 .toStdString());
    }
    return result;
}

} // namespace

std::vector<Figure> benchSweep()
{
    const int addresses = rangeAddressCount(RangeFrom, RangeTo);
    const quint16 port = unusedPort();

    BenchWindow w;
    w.settings.ranges = {{true, RangeFrom, RangeTo}};
    w.settings.favorites.clear();
    w.settings.broadcast = false;
    w.settings.delay = 0;
    w.settings.gameType = 0;
    w.settings.csPort = QString::number(port);
    w.show();

    std::vector<Figure> figures;
    for (const bool old : {false, true}) {
        const SweepRun r = measure(w, old, port, addresses);
        const QString mode = old ? QStringLiteral("old on") : QStringLiteral("old off");
        Figure send = ratioFigure(QStringLiteral("sweep send time, ") + mode, r.sweep.nanoseconds(),
                                  r.bare.nanoseconds(), TargetRatio);
        send.detail = QStringLiteral("sweep %1, bare loop %2, %3 addresses, %4 datagrams")
                          .arg(millisecondsText(r.sweep.nanoseconds()), millisecondsText(r.bare.nanoseconds()),
                               countText(addresses), countText(old ? 2 * addresses : addresses));
        figures.push_back(send);
        Figure gap = durationFigure(QStringLiteral("event gap in sweep, ") + mode, r.gap.nanoseconds(), TargetGapMs);
        gap.detail = QStringLiteral("worst sweep %1").arg(millisecondsText(r.worstGap));
        figures.push_back(gap);
    }
    const int afterStop = stepsAfterStop(w.form->session().engine());
    w.form->session().engine().findChild<QTimer *>(QStringLiteral("Timer"))->stop();
    Figure stop{QStringLiteral("sweep steps after Stop"), double(afterStop), TargetStepsAfterStop,
                QStringLiteral("steps"), false, 0, QStringLiteral("Stop pressed at the 10th step")};
    figures.push_back(stop);
    return figures;
}
