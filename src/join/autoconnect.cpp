#include "join/autoconnect.h"

#include "scan/autoconnectstate.h"
#include "join/launcher.h"
#include "query/queryprotocol.h"
#include "desktop/prompter.h"
#include "scan/scancontrols.h"
#include "scan/serverselection.h"

#include <QCoreApplication>
#include <QTimer>


AutoConnect::AutoConnect(AutoConnectState &state, Launcher &launcher, QueryProtocol &protocol,
                         ServerListModel &servers, const ServerSelection &selection, ScanControls &controls,
                         Prompter &prompter, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_launcher(launcher)
    , m_protocol(protocol)
    , m_servers(servers)
    , m_selection(selection)
    , m_controls(controls)
    , m_prompter(prompter)
    , m_timer(new QTimer(this))
{
    m_timer->setObjectName(QStringLiteral("TimerAuto"));
    m_timer->setInterval(PollIntervalMs);
    connect(m_timer, &QTimer::timeout, this, &AutoConnect::poll);
}

AutoConnectSetup AutoConnect::setupFor(const ServerRow &row)
{
    AutoConnectSetup setup;
    setup.caption = QCoreApplication::translate("AutoConnect", "Auto connect to %1").arg(row.address);
    setup.maximum = row.maxPlayers;
    setup.value = qBound(0, int(row.players) - 1, setup.maximum);
    return setup;
}

bool AutoConnect::thresholdMet(const QString &comparison, int players, int playersWanted)
{
    if (comparison == QLatin1String("<="))
        return players <= playersWanted;
    if (comparison == QLatin1String(">"))
        return players > playersWanted;
    return false;
}

void AutoConnect::toggle()
{
    if (m_state.active)
        stop();
    else
        open();
}

void AutoConnect::open()
{
    emit favoritesScanHeld();
    m_controls.showActivity(QString());
    m_controls.showMessage(Launcher::autoConnectDisabledText());
    emit controlsChanged();
    const std::optional<ServerRow> row = m_selection.rowOf(m_servers);
    if (m_dialog)
        m_dialog->present(row ? std::optional<AutoConnectSetup>(setupFor(*row)) : std::nullopt);
}

void AutoConnect::watchSelected()
{
    const std::optional<ServerRow> row = m_selection.rowOf(m_servers);
    if (!row || !m_dialog) {
        // The selection was lost while the m_dialog was open: there is nothing to watch.
        m_prompter.beep();
        return;
    }
    const AutoConnectChoice choice = m_dialog->choice();

    m_state.targetAddress = row->address;
    m_state.targetPort = quint16(row->port);
    m_state.missedPolls = 0;
    m_timer->start();
    m_state.playersWanted = choice.playersWanted;
    if (choice.passwordEnabled && !choice.password.isEmpty())
        m_launcher.givePassword(choice.password);

    m_state.active = true;
    m_controls.watchStarted();
    emit trayCyclingChanged(true);
    m_dialog->dismiss();
    //: Status bar while auto-connect waits: %1 the server's address, %2 "<=" or ">", %3 the number of players.
    m_controls.showMessage(QCoreApplication::translate("AutoConnect", " Auto connect to %1. Waiting %2 %3 players")
                             .arg(m_state.targetAddress, choice.comparison, choice.playersWantedText));
    m_servers.clear();
    emit controlsChanged();
    query();
}

void AutoConnect::cancel()
{
    emit favoritesScanResumed();
    if (m_dialog)
        m_dialog->dismiss();
}

void AutoConnect::query()
{
    // A failed send is reported by the protocol's network error.
    m_protocol.sendInfoRequest(m_state.targetAddress, m_state.targetPort);
}

void AutoConnect::poll()
{
    query();
    if (++m_state.missedPolls < MissedPollLimit)
        return;
    m_timer->stop();
    emit favoritesScanReleased();
    m_controls.watchEnded();
    m_state.active = false;
    emit trayCyclingChanged(false);
    emit controlsChanged();
    m_prompter.information(QCoreApplication::translate("AutoConnect", "Auto connect"),
                         QCoreApplication::translate("AutoConnect", "Server is down, autoconnect disabled."));
    m_controls.showMessage(Launcher::autoConnectDisabledText());
    emit controlsChanged();
}

bool AutoConnect::replyCheck(int players)
{
    m_state.missedPolls = 0;
    m_controls.watchReplied();
    const AutoConnectChoice choice = m_dialog ? m_dialog->choice() : AutoConnectChoice();
    if (!thresholdMet(choice.comparison, players, m_state.playersWanted)) {
        emit controlsChanged();
        return true;
    }

    m_state.active = false;
    emit favoritesScanReleased();
    m_timer->stop();
    m_controls.watchMet();
    emit controlsChanged();
    emit firstRowWanted();

    if (choice.askFirst) {
        m_prompter.beep();
        emit frontWanted();
        const QString question
            = QCoreApplication::translate("AutoConnect", "There are %n players now on server %1. Do you want to join ?",
                                          nullptr, players)
                  .arg(m_state.targetAddress);
        // The reply's handling ends here; the answer decides the rest. Replies
        // go on updating the list while the question is open.
        m_prompter.question(question, [this](bool yes) { answered(yes); });
        return false;
    }
    join();
    return true;
}

void AutoConnect::answered(bool yes)
{
    if (!yes) {
        m_controls.showMessage(Launcher::autoConnectDisabledText());
        m_controls.joinDeclined();
        emit trayCyclingChanged(false);
        emit controlsChanged();
        return;
    }
    join();
    // As after a reply that joined at once: the list is usable again.
    m_controls.serverListed(m_selection.rowIn(m_servers) >= 0);
    emit controlsChanged();
}

void AutoConnect::join()
{
    emit joinWanted();
    m_controls.showMessage(Launcher::autoConnectDisabledText());
    emit controlsChanged();
}

void AutoConnect::stop()
{
    emit trayCyclingChanged(false);
    m_timer->stop();
    m_controls.watchEnded();
    m_state.active = false;
    if (m_dialog)
        m_dialog->dismiss();
    m_controls.showMessage(Launcher::autoConnectDisabledText());
    emit controlsChanged();
    emit favoritesScanResumed();
}

void AutoConnect::endedByLaunch(const QString &statusText)
{
    m_state.active = false;
    emit favoritesScanReleased();
    m_timer->stop();
    m_controls.watchEndedByLaunch();
    m_controls.showMessage(statusText);
    emit controlsChanged();
}
