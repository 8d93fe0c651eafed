#include "scan/scanengine.h"

#include "scan/autoconnectstate.h"
#include "net/ipv4.h"
#include "query/queryprotocol.h"
#include "scan/addressrange.h"
#include "scan/broadcastsweep.h"
#include "desktop/prompter.h"
#include "scan/serverlistmodel.h"
#include "settings/settingsmodel.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace {

constexpr int RefreshPauseMs = 300;
// The controls are shown at most this often while a sweep runs; a repaint per
// address would cost more than the send itself.
constexpr qint64 NotifyIntervalMs = 30;
// Processing events costs a system call even when none are pending, half as
// much as a send; doing it at most once a millisecond keeps replies, clicks
// and repaints prompt at a fraction of the cost.
constexpr qint64 PumpIntervalNs = 1000000;

// A port text as the sends use it: a decimal number 1..65535, or 0 when it is none.
int portValue(const QString &text)
{
    bool ok = false;
    const int port = text.toInt(&ok, 10);
    return ok && port >= 1 && port <= 65535 ? port : 0;
}

} // namespace

ScanEngine::ScanEngine(QueryProtocol &queryProtocol, ServerListModel &serverList, SettingsModel &settingsModel,
                       const AutoConnectState &autoConnectState, LocalAddressProvider &local,
                       NetworkCards &networkCards, Prompter &messages, ScanControls &scanControls, QObject *parent)
    : QObject(parent)
    , protocol(queryProtocol)
    , servers(serverList)
    , settings(settingsModel)
    , autoConnect(autoConnectState)
    , localAddress(local)
    , cards(networkCards)
    , prompter(messages)
    , shown(scanControls)
    , Timer(new QTimer(this))
{
    pumpHook = [lastPump = QElapsedTimer()]() mutable {
        if (lastPump.isValid() && lastPump.nsecsElapsed() < PumpIntervalNs)
            return;
        QCoreApplication::processEvents();
        lastPump.start();
    };
    pause = [](int ms) {
        if (ms <= 0)
            return;
        // Replies that arrive meanwhile are read at once, so that each server's
        // ping is its own and not the length of the pause; clicks wait for it.
        QEventLoop loop;
        QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    };
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setInterval(1000);
    connect(Timer, &QTimer::timeout, this, &ScanEngine::TimerTimer);
    connect(&protocol, &QueryProtocol::networkError, this, &ScanEngine::NetworkError);
    lastNotify.start();
}

bool ScanEngine::countdownRunning() const
{
    return Timer->isActive();
}

void ScanEngine::notify(bool force)
{
    if (!force && Scanning && lastNotify.elapsed() < NotifyIntervalMs)
        return;
    lastNotify.restart();
    emit controlsChanged();
}

void ScanEngine::pump()
{
    notify();
    pumpHook();
}

bool ScanEngine::checksPass()
{
    const char *problem = nullptr;
    if (settings.ranges.isEmpty() && settings.favorites.isEmpty() && !settings.broadcast)
        problem = "IP ranges, Favorites list is empty and Broadcast is disabled. Please set it in Options.";
    else if (settings.gameType == 0 && settings.csPort.isEmpty())
        problem = "Game port is empty. Please set it in Options.";
    else if (settings.gameType == 1 && settings.hltvPort.isEmpty())
        problem = "HLTV port is empty. Please set it in Options.";
    if (!problem)
        return true;
    notify(true);
    prompter.warning(QString::fromLatin1(problem));
    emit settingsRequested();
    return false;
}

void ScanEngine::SBScanAllClick()
{
    shown.setProgress(0);
    if (!checksPass())
        return;

    Scanning = true;
    shown.sweepStarted(autoConnect.active);
    servers.clear();
    emit sweepStarted();
    StopRequested = false;
    sent = 0;
    shown.showSent(0);

    // The number of targets is known without walking the ranges.
    int total = int(settings.favorites.size());
    for (const RangeRow &range : settings.ranges) {
        if (range.checked)
            total += rangeAddressCount(range.from, range.to);
    }
    shown.setProgressMax(total);
    notify(true);
    pumpHook();

    if (!sweepFavorites())
        return;
    const int port = portValue(settings.gameType == 1 ? settings.hltvPort : settings.csPort);
    if (port == 0)
        NetworkError();
    if (stopped())
        return;
    if (settings.broadcast && !sweepBroadcast(port))
        return;
    if (!sweepRanges(port))
        return;

    capture();
    shown.showActivity(QStringLiteral(" Scan complete"));
    WaitCount = WaitStart;
    startCountdown();
    Scanning = false;
    shown.sweepEnded(servers.rowCount() > 0);
    notify(true);
}

bool ScanEngine::stopped()
{
    if (!StopRequested)
        return false;
    shown.showActivity(QStringLiteral(" Scan stoped"));
    notify(true);
    return true;
}

void ScanEngine::countTarget(const QString &host)
{
    pump();
    shown.showActivity(QLatin1Char(' ') + host);
    shown.showSent(++sent);
}

bool ScanEngine::sweepFavorites()
{
    // By index: the favourites may be edited while events are processed.
    for (int i = 0; i < settings.favorites.size(); ++i) {
        if (stopped())
            return false;
        const FavoriteRow favorite = settings.favorites[i];
        const int port = portValue(favorite.port);
        if (port == 0) {
            NetworkError();
        } else {
            pause(settings.delay / 2);
            const bool ok = protocol.sendInfoQuery(favorite.host, port);
            pause(settings.delay / 2);
            if (ok) {
                shown.setProgress(shown.progress() + 1);
                if (settings.scanOld)
                    protocol.sendOldInfoQuery(favorite.host, port);
            }
        }
        countTarget(favorite.host);
    }
    return true;
}

bool ScanEngine::sweepBroadcast(int port)
{
    // One step however many cards and ports: it fails only when not one datagram left.
    const QVector<BroadcastTarget> targets =
        broadcastTargets(currentBroadcasts(cards, localAddress),
                         broadcastPorts(port, settings.gameType == 1, settings.broadcastLanPorts));
    if (sendBroadcast(protocol, targets) == 0)
        NetworkError();
    shown.showSent(++sent);
    return true;
}

bool ScanEngine::sweepRanges(int port)
{
    for (int r = 0; r < settings.ranges.size(); ++r) {
        const RangeRow range = settings.ranges[r];
        if (!range.checked)
            continue;
        RangeWalker walker(range.from, range.to);
        quint32 address = 0;
        while (walker.next(address)) {
            if (stopped())
                return false;
            const QString host = ipv4Text(address);
            if (protocol.sendInfoQuery(host, port)) {
                pause(settings.delay);
                if (settings.scanOld)
                    protocol.sendOldInfoQuery(host, port);
                shown.setProgress(shown.progress() + 1);
            }
            countTarget(host);
        }
    }
    return true;
}

void ScanEngine::capture()
{
    capturedRows = servers.rowCount();
    const int n = qMin(capturedRows, TargetListSize);
    capturedAddresses.clear();
    capturedPorts.clear();
    for (int i = 0; i < n; ++i) {
        capturedAddresses << servers.row(i).address;
        capturedPorts << servers.row(i).portText;
    }
}

void ScanEngine::SBStopClick()
{
    StopRequested = true;
    Scanning = false;
    WaitCount = WaitStart;
    startCountdown();
    shown.sweepEnded(servers.rowCount() > 0);
    notify(true);
}

void ScanEngine::startCountdown()
{
    // A running countdown keeps its beat; only its count starts over.
    if (!Timer->isActive())
        Timer->start();
}

void ScanEngine::TimerTimer()
{
    if (WaitCount == 0)
        Timer->stop();
    shown.countdown(WaitCount, autoConnect.active, Scanning);
    --WaitCount;
    notify(true);
}

void ScanEngine::SBRefreshClick()
{
    shown.refreshStarted(autoConnect.active);
    notify(true);
    if (servers.rowCount() > capturedRows)
        capture();
    pause(RefreshPauseMs);

    const int n = qMin(capturedRows, int(capturedAddresses.size()));
    // Rows still waiting for their answer show the question mark until it comes.
    for (int i = 0; i < n; ++i)
        servers.markPending(capturedAddresses[i], portValue(capturedPorts[i]));
    for (int i = 0; i < n; ++i) {
        pumpHook();
        const QString address = capturedAddresses[i];
        const int port = portValue(capturedPorts[i]);
        if (port == 0) {
            NetworkError();
            continue;
        }
        if (!protocol.sendInfoRequest(address, port))
            continue;
        if (selectedRow() == i && i < servers.rowCount()) {
            const ServerRow &row = servers.row(i);
            if (detailPage() == 0)
                protocol.QueryPlayers(row.address, row.port);
            else
                protocol.QueryRules(row.address, row.port);
        }
    }
    shown.showActivity(QStringLiteral(" Refresh complete"));
    shown.refreshCompleted(autoConnect.active, Scanning, Timer->isActive(), selectedRow() >= 0);
    notify(true);
}

void ScanEngine::NetworkError()
{
    SBStopClick();
    shown.showMessage(QStringLiteral(" Network error..."));
    notify(true);
}

void ScanEngine::serverAdded(int, const ServerInfo &info)
{
    // While auto-connect is active only its target gets listed.
    if (autoConnect.active && autoConnectCheck && !autoConnectCheck(info))
        return;
    if (autoConnect.active || servers.rowCount() == 0 || Scanning)
        return;
    shown.serverListed(selectedRow() >= 0);
    notify();
}

void ScanEngine::rowSelected()
{
    shown.rowSelected();
    notify(true);
}

void ScanEngine::selectionCleared()
{
    shown.selectionCleared(autoConnect.active);
    notify(true);
}
