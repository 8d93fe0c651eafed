#include "scan/scanengine.h"

#include "scan/autoconnectstate.h"
#include "net/ipv4.h"
#include "query/queryprotocol.h"
#include "scan/addressrange.h"
#include "scan/broadcastsweep.h"
#include "desktop/prompter.h"
#include "scan/serverlistmodel.h"
#include "settings/portnumber.h"
#include "settings/settingsmodel.h"

#include <QPointer>
#include <QTimer>

namespace {

const ServerSelection noSelection;

// The controls are shown at most this often while a sweep runs; a repaint per
// address would cost more than the send itself.
constexpr qint64 NotifyIntervalMs = 30;
// Addresses handed to the protocol at a time within one step.
constexpr int BatchAddresses = 128;

// A port text as the sends use it: 0 when it is no port.
int portValue(const QString &text)
{
    return parsePort(text).value_or(0);
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
    , m_selection(&noSelection)
    , Timer(new QTimer(this))
    , SweepTimer(new QTimer(this))
    , RefreshTimer(new QTimer(this))
{
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setInterval(1000);
    connect(Timer, &QTimer::timeout, this, &ScanEngine::countdownTick);
    SweepTimer->setObjectName(QStringLiteral("SweepTimer"));
    SweepTimer->setSingleShot(true);
    SweepTimer->setTimerType(Qt::PreciseTimer);
    connect(SweepTimer, &QTimer::timeout, this, &ScanEngine::sweepStep);
    RefreshTimer->setObjectName(QStringLiteral("RefreshTimer"));
    RefreshTimer->setSingleShot(true);
    RefreshTimer->setInterval(RefreshPauseMs);
    connect(RefreshTimer, &QTimer::timeout, this, &ScanEngine::refreshStep);
    connect(&protocol, &QueryProtocol::networkError, this, &ScanEngine::networkError);
    connect(&protocol, &QueryProtocol::lookupFailed, this, &ScanEngine::networkError);
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

bool ScanEngine::checksPass()
{
    const char *problem = nullptr;
    if (settings.ranges.isEmpty() && settings.favorites.isEmpty() && !settings.broadcast)
        problem = QT_TRANSLATE_NOOP(
            "ScanStatus", "IP ranges, Favorites list is empty and Broadcast is disabled. Please set it in Options.");
    else if (settings.gameType == 0 && settings.csPort.isEmpty())
        problem = QT_TRANSLATE_NOOP("ScanStatus", "Game port is empty. Please set it in Options.");
    else if (settings.gameType == 1 && settings.hltvPort.isEmpty())
        problem = QT_TRANSLATE_NOOP("ScanStatus", "HLTV port is empty. Please set it in Options.");
    if (!problem)
        return true;
    notify(true);
    // The settings open once the warning is closed.
    const QPointer<ScanEngine> self(this);
    prompter.warning(QCoreApplication::translate("ScanStatus", problem), [self] {
        if (self)
            emit self->settingsRequested();
    });
    return false;
}

void ScanEngine::scanAll()
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
    for (const RangeRow &row : settings.ranges) {
        if (row.checked)
            total += rangeAddressCount(row.from, row.to);
    }
    shown.setProgressMax(total);
    notify(true);

    ++sweepNumber;
    favorite = 0;
    favoritePhase = FavoritePhase::Before;
    lookupsPending = 0;
    range = 0;
    walker.reset();
    rangeHostPending = false;
    next(Step::Favorites);
}

void ScanEngine::next(Step to, int waitMs)
{
    step = to;
    SweepTimer->start(qMax(waitMs, 0));
}

void ScanEngine::sweepStep()
{
    // A step taken by a direct call is not taken again by the timer.
    SweepTimer->stop();
    switch (step) {
    case Step::Idle:
        break;
    case Step::Favorites:
        favoritesStep();
        break;
    case Step::Broadcast:
        broadcastStep();
        break;
    case Step::Ranges:
        rangesStep();
        break;
    case Step::Lookups:
    case Step::Count:
        countStep();
        break;
    }
    notify();
}

bool ScanEngine::stopped()
{
    if (!StopRequested)
        return false;
    step = Step::Idle;
    SweepTimer->stop();
    shown.showActivity(QCoreApplication::translate("ScanStatus", " Scan stoped"));
    notify(true);
    return true;
}

void ScanEngine::countTarget(const QString &host, bool wentOut)
{
    shown.showActivity(QLatin1Char(' ') + host);
    if (wentOut)
        shown.showSent(++sent);
}

// One favourite per step, with half the delay before its request and half after.
void ScanEngine::favoritesStep()
{
    const int half = settings.delay / 2;
    for (;;) {
        switch (favoritePhase) {
        case FavoritePhase::Before: {
            // By index: the favourites may be edited between steps.
            if (favorite >= settings.favorites.size()) {
                afterFavorites();
                return;
            }
            if (stopped())
                return;
            const FavoriteRow row = settings.favorites[favorite];
            favoriteHost = row.host;
            favoritePort = portValue(row.port);
            if (favoritePort == 0) {
                networkError();
                countTarget(favoriteHost, false);
                ++favorite;
                continue;
            }
            favoritePhase = FavoritePhase::Send;
            if (half > 0) {
                next(Step::Favorites, half);
                return;
            }
            continue;
        }
        case FavoritePhase::Send: {
            favoriteOk = false;
            quint32 address = 0;
            if (parseIpv4(favoriteHost, address)) {
                favoriteOk = protocol.sendInfoQuery(favoriteHost, favoritePort);
            } else {
                // A name goes out when its lookup ends, in the order the lookups end.
                ++lookupsPending;
                const QPointer<ScanEngine> self(this);
                const quint64 sweep = sweepNumber;
                const int target = favoritePort;
                protocol.resolve(favoriteHost, [self, sweep, target](const QString &resolved) {
                    if (self)
                        self->favoriteResolved(sweep, resolved, target);
                });
            }
            favoritePhase = FavoritePhase::After;
            if (half > 0) {
                next(Step::Favorites, half);
                return;
            }
            continue;
        }
        case FavoritePhase::After:
            if (favoriteOk)
                favoriteSent(favoriteHost, favoritePort);
            countTarget(favoriteHost, favoriteOk);
            ++favorite;
            favoritePhase = FavoritePhase::Before;
            // Each favourite is a step of its own.
            next(Step::Favorites);
            return;
        }
    }
}

void ScanEngine::favoriteSent(const QString &host, int targetPort)
{
    shown.setProgress(shown.progress() + 1);
    if (settings.scanOld)
        protocol.sendOldInfoQuery(host, targetPort);
}

void ScanEngine::favoriteResolved(quint64 sweep, const QString &address, int targetPort)
{
    if (sweep != sweepNumber)
        return;
    --lookupsPending;
    // A failed lookup has reported its network error already.
    if (!address.isEmpty() && !StopRequested && protocol.sendInfoQuery(address, targetPort)) {
        favoriteSent(address, targetPort);
        shown.showSent(++sent);
    }
    if (step == Step::Lookups && lookupsPending == 0)
        next(Step::Lookups);
    notify();
}

void ScanEngine::afterFavorites()
{
    port = portValue(settings.gameType == 1 ? settings.hltvPort : settings.csPort);
    if (port == 0)
        networkError();
    if (stopped())
        return;
    if (settings.broadcast)
        broadcastStep();
    else
        next(Step::Ranges);
}

void ScanEngine::broadcastStep()
{
    // One step however many cards and ports: it fails only when not one datagram left.
    const QVector<BroadcastTarget> targets =
        broadcastTargets(currentBroadcasts(cards, localAddress),
                         broadcastPorts(port, settings.gameType == 1, settings.broadcastLanPorts));
    if (sendBroadcast(protocol, targets) == 0)
        networkError();
    else
        shown.showSent(++sent);
    next(Step::Ranges);
}

bool ScanEngine::nextAddress(quint32 &address)
{
    // By index: the ranges may be edited between steps.
    while (range < settings.ranges.size()) {
        if (!walker) {
            const RangeRow row = settings.ranges[range];
            if (!row.checked) {
                ++range;
                continue;
            }
            walker.emplace(row.from, row.to);
        }
        if (walker->next(address))
            return true;
        walker.reset();
        ++range;
    }
    return false;
}

void ScanEngine::rangeSent(const QString &host)
{
    if (settings.scanOld)
        protocol.sendOldInfoQuery(host, port);
    shown.setProgress(shown.progress() + 1);
    countTarget(host, true);
}

void ScanEngine::rangesStep()
{
    if (rangeHostPending) {
        // The delay after the last address is over.
        rangeHostPending = false;
        rangeSent(rangeHost);
    }
    quint32 address = 0;
    if (settings.delay > 0) {
        // One address per step, the delay after its request.
        if (!nextAddress(address)) {
            countStep();
            return;
        }
        if (stopped())
            return;
        rangeHost = ipv4Text(address);
        if (protocol.sendInfoQuery(rangeHost, port)) {
            rangeHostPending = true;
            next(Step::Ranges, settings.delay);
            return;
        }
        countTarget(rangeHost, false);
        next(Step::Ranges);
        return;
    }

    // No delay: many addresses to a step, handed over in batches, within a
    // time budget that keeps the window responsive.
    if (!nextAddress(address)) {
        countStep();
        return;
    }
    if (stopped())
        return;
    QElapsedTimer budget;
    budget.start();
    int taken = 0;
    bool more = true;
    while (more) {
        stepAddresses.clear();
        stepAddresses.append(address);
        while (stepAddresses.size() < BatchAddresses && (more = nextAddress(address)))
            stepAddresses.append(address);
        sent += protocol.sendInfoRequests(stepAddresses, port);
        taken += int(stepAddresses.size());
        shown.setProgress(shown.progress() + int(stepAddresses.size()));
        shown.showSent(sent);
        shown.showActivity(QLatin1Char(' ') + ipv4Text(stepAddresses.last()));
        if (!more || taken >= StepAddresses || budget.nsecsElapsed() >= StepBudgetNs)
            break;
        more = nextAddress(address);
    }
    next(Step::Ranges);
}

void ScanEngine::countStep()
{
    if (lookupsPending > 0 || step == Step::Lookups) {
        // The sweep ends with the last favourite's lookup, or with Stop while it waits.
        if (stopped())
            return;
        if (lookupsPending > 0) {
            step = Step::Lookups;
            SweepTimer->stop();
            return;
        }
    }
    step = Step::Idle;
    SweepTimer->stop();
    capture();
    shown.showActivity(QCoreApplication::translate("ScanStatus", " Scan complete"));
    WaitCount = WaitStart;
    startCountdown();
    Scanning = false;
    shown.sweepEnded(servers.rowCount() > 0);
    notify(true);
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

void ScanEngine::stop()
{
    StopRequested = true;
    // A sweep waiting for a lookup has no step due: it takes one now.
    if (step != Step::Idle && !SweepTimer->isActive())
        SweepTimer->start(0);
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

void ScanEngine::countdownTick()
{
    if (WaitCount == 0)
        Timer->stop();
    shown.countdown(WaitCount, autoConnect.active, Scanning);
    --WaitCount;
    notify(true);
}

void ScanEngine::refresh()
{
    shown.refreshStarted(autoConnect.active);
    notify(true);
    if (servers.rowCount() > capturedRows)
        capture();
    RefreshTimer->start();
}

void ScanEngine::refreshStep()
{
    RefreshTimer->stop();
    const int n = qMin(capturedRows, int(capturedAddresses.size()));
    // Rows still waiting for their answer show the question mark until it comes.
    for (int i = 0; i < n; ++i)
        servers.markPending(capturedAddresses[i], portValue(capturedPorts[i]));
    for (int i = 0; i < n; ++i) {
        const QString address = capturedAddresses[i];
        const int rowPort = portValue(capturedPorts[i]);
        if (rowPort == 0) {
            networkError();
            continue;
        }
        if (!protocol.sendInfoRequest(address, rowPort))
            continue;
        if (selectedRow() == i && i < servers.rowCount()) {
            const ServerRow &row = servers.row(i);
            if (m_selection->page() == ServerSelection::PlayersPage)
                protocol.requestPlayers(row.address, row.port);
            else
                protocol.requestRules(row.address, row.port);
        }
    }
    shown.showActivity(QCoreApplication::translate("ScanStatus", " Refresh complete"));
    shown.refreshCompleted(autoConnect.active, Scanning, Timer->isActive(), selectedRow() >= 0);
    notify(true);
}

void ScanEngine::networkError()
{
    stop();
    shown.showMessage(QCoreApplication::translate("ScanStatus", " Network error..."));
    notify(true);
}

void ScanEngine::serverAdded()
{
    if (autoConnect.active || servers.rowCount() == 0 || Scanning)
        return;
    shown.serverListed(selectedRow() >= 0);
    notify();
}

int ScanEngine::selectedRow() const
{
    return m_selection->rowIn(servers);
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
