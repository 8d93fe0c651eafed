#include "join/scansession.h"

#include "settings/writereport.h"
#include "desktop/prompter.h"
#include "join/autoconnect.h"
#include "join/launcher.h"
#include "join/serverlink.h"
#include "net/udpendpoint.h"
#include "query/playersmodel.h"
#include "query/queryprotocol.h"
#include "query/rulesmodel.h"
#include "scan/favoritesscan.h"
#include "scan/favoritesscanscheduler.h"
#include "scan/scanengine.h"
#include "scan/serverfiltermodel.h"
#include "scan/serverlistmodel.h"
#include "settings/favoritesmodel.h"
#include "settings/inifile.h"
#include "settings/settingsmodel.h"

#include <QCoreApplication>

ScanSession::ScanSession(const Services &services, QObject *parent)
    : QObject(parent)
    , m_settings(services.settings)
    , m_prompter(services.prompter)
    , m_endpoint(new UdpEndpoint(services.localPort, this, services.newSocket))
    , m_protocol(new QueryProtocol(*m_endpoint, [this] { return m_settings.scanOld; }, this))
    , m_servers(new ServerListModel(m_settings, m_autoConnectState, this))
    , m_shownServers(new ServerFilterModel(*m_servers, this))
    , m_players(new PlayersModel(this))
    , m_rules(new RulesModel(this))
    , m_engine(new ScanEngine(*m_protocol, *m_servers, m_settings, m_autoConnectState, services.localAddress,
                              services.networkCards, m_prompter, m_controls, this))
    , m_favoritesScan(new FavoritesScan(m_settings, m_autoConnectState, *m_protocol, *m_engine, m_controls, this))
    , m_favoritesSchedule(new FavoritesScanScheduler(m_settings.favAutoScan, m_settings.updInterval, this))
    , m_launcher(new Launcher(m_settings, m_autoConnectState, m_prompter, services.shell, this))
    , m_autoConnect(new AutoConnect(m_autoConnectState, *m_launcher, *m_protocol, *m_servers, m_selection,
                                    m_controls, m_prompter, this))
{
    m_engine->followSelection(m_selection);
    if (!m_endpoint->portStatus().isEmpty())
        m_controls.showMessage(QLatin1Char(' ') + m_endpoint->portStatus());

    connect(m_protocol, &QueryProtocol::serverInfoReceived, m_servers, &ServerListModel::addOrUpdate);
    // The lists show the server selected now: a late reply of one selected
    // before is dropped.
    connect(m_protocol, &QueryProtocol::playersReceived, this,
            [this](const QVector<PlayerRow> &players, const QString &from, int port) {
                if (m_selection.isServer(from, port))
                    m_players->setPlayers(players);
            });
    connect(m_protocol, &QueryProtocol::rulesReceived, this,
            [this](const QVector<RuleRow> &rules, const QString &from, int port) {
                if (m_selection.isServer(from, port))
                    m_rules->setRules(rules);
            });
    connect(m_servers, &ServerListModel::serverAdded, this, &ScanSession::serverAdded);
    // A new sweep empties the list, and with it the selection.
    connect(m_servers, &QAbstractItemModel::modelReset, this, [this] { m_selection.clear(); });

    connect(m_engine, &ScanEngine::controlsChanged, this, &ScanSession::controlsChanged);
    connect(m_engine, &ScanEngine::settingsRequested, this, &ScanSession::settingsRequested);
    connect(m_engine, &ScanEngine::sweepStarted, this, [this] {
        m_players->clear();
        // The list starts anew: no watched row to keep in view any more.
        m_shownServers->keepInView(QString(), 0);
        emit sweepStarted();
    });
    connect(m_favoritesSchedule, &FavoritesScanScheduler::turnDue, this, &ScanSession::favoritesTurnDue);

    connect(m_launcher, &Launcher::trayAnimationStopped, this, [this] { emit trayCyclingChanged(false); });
    connect(m_launcher, &Launcher::autoConnectEnded, m_autoConnect, &AutoConnect::endedByLaunch);
    connect(m_launcher, &Launcher::revealWindowRequested, this, &ScanSession::revealWindowRequested);
    connect(m_launcher, &Launcher::hideWindowRequested, this, &ScanSession::hideWindowRequested);
    connect(m_launcher, &Launcher::passwordRequested, this, &ScanSession::passwordRequested);

    connect(m_autoConnect, &AutoConnect::firstRowWanted, this, &ScanSession::firstRowWanted);
    connect(m_autoConnect, &AutoConnect::favoritesScanHeld, this, &ScanSession::holdFavoritesScan);
    connect(m_autoConnect, &AutoConnect::favoritesScanResumed, this, &ScanSession::resumeFavoritesScan);
    connect(m_autoConnect, &AutoConnect::favoritesScanReleased, m_favoritesSchedule,
            &FavoritesScanScheduler::release);
    connect(m_autoConnect, &AutoConnect::trayCyclingChanged, this, &ScanSession::trayCyclingChanged);
    connect(m_autoConnect, &AutoConnect::frontWanted, this, &ScanSession::frontRequested);
    connect(m_autoConnect, &AutoConnect::joinWanted, this, &ScanSession::joinWatchedServer);
    connect(m_autoConnect, &AutoConnect::controlsChanged, this, &ScanSession::autoConnectControlsChanged);
}

ScanSession::~ScanSession() = default;

void ScanSession::settingsLoaded()
{
    m_favoritesSchedule->setIntervalSeconds(m_settings.updInterval);
    if (m_settings.favAutoScan)
        switchFavoritesScan(true);
    if (m_settings.favFirstTickPending) {
        // The first auto-scan follows the start at once.
        m_settings.favFirstTickPending = false;
        m_favoritesSchedule->firstTickSoon();
    }
}

int ScanSession::selectedRow() const
{
    return m_selection.rowIn(*m_servers);
}

ServerFilter ScanSession::filter() const
{
    ServerFilter kept;
    kept.text = m_settings.filterText;
    kept.hideEmpty = m_settings.hideEmpty;
    kept.hideFull = m_settings.hideFull;
    kept.hidePassword = m_settings.hidePassword;
    return kept;
}

void ScanSession::scanAll()
{
    m_engine->scanAll();
}

void ScanSession::stop()
{
    m_engine->stop();
}

void ScanSession::refresh()
{
    m_engine->refresh();
}

void ScanSession::serverAdded(int, const ServerInfo &info)
{
    // While auto-connect is active only its target gets listed; its check
    // comes first and may end the watch, or a question may end the handling.
    if (m_autoConnectState.active && !m_autoConnect->replyCheck(info.players))
        return;
    m_engine->serverAdded();
}

void ScanSession::selectRow(int row)
{
    if (row < 0 || row >= m_servers->rowCount()) {
        selectionLost();
        return;
    }
    m_players->clear();
    m_rules->clear();
    const ServerRow &server = m_servers->row(row);
    m_selection.select(server);
    m_engine->rowSelected();
    // The protocol keeps the pause between the two requests.
    m_protocol->requestPlayers(server.address, server.port);
    m_protocol->requestRules(server.address, server.port);
}

void ScanSession::selectionLost()
{
    m_selection.clear();
    m_engine->selectionCleared();
    m_players->clear();
    m_rules->clear();
}

void ScanSession::showDetailPage(int page)
{
    m_selection.showPage(page);
}

void ScanSession::play()
{
    launchSelected();
}

void ScanSession::launchSelected(std::function<void()> started)
{
    m_launcher->play(m_selection.rowOf(*m_servers), std::move(started));
}

void ScanSession::joinWatchedServer()
{
    const bool unseen = !m_windowSeen;
    const QString address = connectAddress(m_autoConnectState.targetAddress, QString::number(m_autoConnectState.targetPort));
    launchSelected([this, unseen, address] {
        //: Tray message when auto-connect starts the game; %1 is ADDRESS:PORT.
        if (unseen)
            emit joinedUnseen(QCoreApplication::translate("MainWindow", "Auto connect"),
                              QCoreApplication::translate("MainWindow", "Joining %1").arg(address));
    });
}

void ScanSession::toggleAutoConnect()
{
    m_autoConnect->toggle();
}

void ScanSession::autoConnectControlsChanged()
{
    // The watched row stays in view through its join, whatever the filter says.
    if (m_autoConnectState.active)
        m_shownServers->keepInView(m_autoConnectState.targetAddress, m_autoConnectState.targetPort);
    emit controlsChanged();
}

void ScanSession::addSelectedToFavorites()
{
    const std::optional<ServerRow> server = m_selection.rowOf(*m_servers);
    if (!server || !m_favorites)
        return;
    const QString refusal = m_favorites->addListed(server->address, server->portText);
    if (!refusal.isEmpty())
        m_prompter.error(refusal);
}

void ScanSession::setFilter(const ServerFilter &filter)
{
    m_shownServers->setFilter(filter);
    m_settings.filterText = filter.text.trimmed();
    m_settings.hideEmpty = filter.hideEmpty;
    m_settings.hideFull = filter.hideFull;
    m_settings.hidePassword = filter.hidePassword;
}

void ScanSession::choosePort(int index)
{
    m_settings.gameType = index;
    if (!m_ini)
        return;
    writeOrTell(m_prompter, [this] { m_settings.writeGameType(*m_ini); });
}

void ScanSession::favoritesTurnDue()
{
    // The quick first interval ends with the first turn that takes place, even
    // one with nothing to ask: every turn disables Play and Auto, and turns
    // 200 ms apart would leave them unusable.
    if (m_favoritesScan->tick())
        m_favoritesSchedule->turnTookPlace();
}

void ScanSession::switchFavoritesScan(bool on)
{
    // Hidden, the window starts the timer when it is shown again.
    m_favoritesSchedule->switchOn(on);
    if (on) {
        m_controls.showMessage(QCoreApplication::translate("MainWindow", " Autoscan enabled"));
    } else {
        m_controls.showActivity(QString());
        m_controls.showMessage(QCoreApplication::translate("MainWindow", " Autoscan disabled"));
    }
    emit controlsChanged();
}

void ScanSession::setFavoritesInterval(int seconds)
{
    m_favoritesSchedule->setIntervalSeconds(seconds);
}

void ScanSession::holdFavoritesScan()
{
    m_favoritesSchedule->hold();
}

void ScanSession::resumeFavoritesScan()
{
    m_favoritesSchedule->release();
    if (m_settings.favAutoScan)
        switchFavoritesScan(true);
}

void ScanSession::windowShown(bool shown)
{
    m_windowSeen = shown;
    m_favoritesSchedule->windowShown(shown);
}

void ScanSession::rememberSize(int width, int height)
{
    m_settings.width = width;
    m_settings.height = height;
}

void ScanSession::addNote(const QString &text)
{
    const QString &message = m_controls.messagePanel();
    m_controls.showMessage(message + (message.isEmpty() ? QStringLiteral(" ") : QStringLiteral("; ")) + text);
    emit controlsChanged();
}

void ScanSession::shutDown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    if (m_engine->scanning())
        m_engine->stop();
    m_endpoint->release();
}
