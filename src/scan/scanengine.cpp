#include "scan/scanengine.h"

#include "scan/autoconnectstate.h"
#include "net/ipv4.h"
#include "query/queryprotocol.h"
#include "scan/addressrange.h"
#include "scan/localaddress.h"
#include "desktop/prompter.h"
#include "scan/serverlistmodel.h"
#include "settings/inifile.h"
#include "settings/settingsmodel.h"

#include <QCoreApplication>
#include <QThread>

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
                       const AutoConnectState &autoConnectState, LocalAddressProvider &local, Prompter &messages,
                       QObject *parent)
    : QObject(parent)
    , protocol(queryProtocol)
    , servers(serverList)
    , settings(settingsModel)
    , autoConnect(autoConnectState)
    , localAddress(local)
    , prompter(messages)
{
    pumpMessages = [lastPump = QElapsedTimer()]() mutable {
        if (lastPump.isValid() && lastPump.nsecsElapsed() < PumpIntervalNs)
            return;
        QCoreApplication::processEvents();
        lastPump.start();
    };
    pause = [](int ms) {
        if (ms > 0)
            QThread::msleep(ulong(ms));
    };
    Timer.setInterval(1000);
    connect(&Timer, &QTimer::timeout, this, &ScanEngine::TimerTimer);
    connect(&protocol, &QueryProtocol::networkError, this, &ScanEngine::NetworkError);
    lastNotify.start();
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
    pumpMessages();
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
    controls.progress = 0;
    if (!checksPass())
        return;

    Scanning = true;
    if (!autoConnect.active)
        controls.autoEnabled = false;
    controls.portChoiceEnabled = false;
    controls.playEnabled = false;
    controls.scanEnabled = false;
    controls.refreshEnabled = false;
    controls.stopEnabled = true;
    servers.clear();
    emit sweepStarted();
    StopRequested = false;
    sent = 0;
    controls.sentPanel = QStringLiteral("0");

    // The number of targets is known without walking the ranges.
    int total = int(settings.favorites.size());
    for (const RangeRow &range : settings.ranges) {
        if (range.checked)
            total += rangeAddressCount(range.from, range.to);
    }
    controls.progressMax = total;
    notify(true);
    pumpMessages();

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
    controls.activityPanel = QStringLiteral(" Scan complete");
    controls.portChoiceEnabled = true;
    WaitCount = WaitStart;
    startCountdown();
    controls.stopEnabled = false;
    Scanning = false;
    if (servers.rowCount() > 0)
        controls.refreshEnabled = true;
    notify(true);
}

bool ScanEngine::stopped()
{
    if (!StopRequested)
        return false;
    controls.activityPanel = QStringLiteral(" Scan stoped");
    notify(true);
    return true;
}

void ScanEngine::countTarget(const QString &host)
{
    pump();
    controls.activityPanel = QLatin1Char(' ') + host;
    controls.sentPanel = QString::number(++sent);
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
                ++controls.progress;
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
    const QString local = localAddress.LocalAddress();
    const QString dot = QStringLiteral(".");
    quint32 parsed = 0;
    if (!parseIpv4(local, parsed)) {
        NetworkError();
    } else {
        const QString host = NthField(dot, local, 1) + dot + NthField(dot, local, 2) + QStringLiteral(".255.255");
        if (protocol.sendInfoQuery(host, port)) {
            protocol.noteBroadcast(port);
            if (settings.scanOld)
                protocol.sendOldInfoQuery(host, port);
        }
    }
    controls.sentPanel = QString::number(++sent);
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
                ++controls.progress;
            }
            countTarget(host);
        }
    }
    return true;
}

void ScanEngine::capture()
{
    rowsAtCapture = servers.rowCount();
    const int n = qMin(rowsAtCapture, TargetListSize);
    targetAddresses.clear();
    targetPorts.clear();
    for (int i = 0; i < n; ++i) {
        targetAddresses << servers.row(i).address;
        targetPorts << servers.row(i).portText;
    }
}

void ScanEngine::SBStopClick()
{
    StopRequested = true;
    Scanning = false;
    WaitCount = WaitStart;
    startCountdown();
    controls.stopEnabled = false;
    controls.portChoiceEnabled = true;
    if (servers.rowCount() > 0)
        controls.refreshEnabled = true;
    notify(true);
}

void ScanEngine::startCountdown()
{
    // A running countdown keeps its beat; only its count starts over.
    if (!Timer.isActive())
        Timer.start();
}

void ScanEngine::TimerTimer()
{
    controls.scanCaption = QStringLiteral("Wait %1").arg(WaitCount);
    if (WaitCount == 0) {
        Timer.stop();
        controls.scanCaption = QStringLiteral("Scan");
        // A countdown started by a network error outside a sweep can end while
        // a sweep runs; that sweep's own end enables Scan.
        if (!autoConnect.active && !Scanning)
            controls.scanEnabled = true;
    }
    --WaitCount;
    notify(true);
}

void ScanEngine::SBRefreshClick()
{
    if (!autoConnect.active)
        controls.autoEnabled = false;
    controls.refreshEnabled = false;
    controls.playEnabled = false;
    controls.scanEnabled = false;
    notify(true);
    if (servers.rowCount() > rowsAtCapture)
        capture();
    pause(RefreshPauseMs);

    const int n = qMin(rowsAtCapture, int(targetAddresses.size()));
    // Rows still waiting for their answer show the question mark until it comes.
    for (int i = 0; i < n; ++i)
        servers.markPending(targetAddresses[i], portValue(targetPorts[i]));
    for (int i = 0; i < n; ++i) {
        pumpMessages();
        const QString address = targetAddresses[i];
        const int port = portValue(targetPorts[i]);
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
    controls.activityPanel = QStringLiteral(" Refresh complete");
    if (!autoConnect.active && !Scanning) {
        controls.refreshEnabled = true;
        if (!Timer.isActive())
            controls.scanEnabled = true;
        if (selectedRow() >= 0) {
            controls.autoEnabled = true;
            controls.playEnabled = true;
        }
    }
    notify(true);
}

void ScanEngine::NetworkError()
{
    controls.stopEnabled = true;
    SBStopClick();
    Scanning = false;
    controls.stopEnabled = false;
    controls.messagePanel = QStringLiteral(" Network error...");
    notify(true);
}

void ScanEngine::RGClick(int index)
{
    settings.gameType = index;
    if (!ini)
        return;
    try {
        settings.writeGameType(*ini);
    } catch (const IniWriteError &e) {
        prompter.error(e.message());
    }
}

void ScanEngine::serverAdded(int, const ServerInfo &info)
{
    // While auto-connect is active only its target gets listed.
    if (autoConnect.active && autoConnectCheck && !autoConnectCheck(info))
        return;
    if (autoConnect.active || servers.rowCount() == 0 || Scanning)
        return;
    controls.refreshEnabled = true;
    if (selectedRow() >= 0) {
        controls.autoEnabled = true;
        controls.playEnabled = true;
    }
    notify();
}

void ScanEngine::rowSelected()
{
    controls.playEnabled = true;
    controls.autoEnabled = true;
    notify(true);
}

void ScanEngine::selectionCleared()
{
    controls.playEnabled = false;
    if (!autoConnect.active)
        controls.autoEnabled = false;
    notify(true);
}
