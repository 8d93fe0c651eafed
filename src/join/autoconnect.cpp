#include "join/autoconnect.h"

#include "scan/autoconnectstate.h"
#include "join/commandline.h"
#include "join/launchstate.h"
#include "join/launcher.h"
#include "query/queryprotocol.h"
#include "desktop/prompter.h"
#include "scan/scancontrols.h"

#include <QCoreApplication>
#include <QTimer>

#include <utility>

namespace {

void call(const std::function<void()> &hook)
{
    if (hook)
        hook();
}

} // namespace

AutoConnect::AutoConnect(AutoConnectState &autoConnectState, LaunchState &launchState, QueryProtocol &queryProtocol,
                         ServerListModel &serverList, ScanControls &scanControls, Prompter &messages,
                         QTimer &pollTimer, Hooks windowHooks)
    : state(autoConnectState)
    , launch(launchState)
    , protocol(queryProtocol)
    , servers(serverList)
    , controls(scanControls)
    , prompter(messages)
    , timer(pollTimer)
    , hooks(std::move(windowHooks))
{
    timer.setInterval(PollIntervalMs);
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

void AutoConnect::showControls()
{
    call(hooks.controlsChanged);
}

void AutoConnect::SBAutoClick()
{
    if (state.active)
        stop();
    else
        open();
}

void AutoConnect::open()
{
    call(hooks.pauseFavoritesScan);
    controls.showActivity(QString());
    controls.showMessage(Launcher::autoConnectDisabledText());
    showControls();
    std::optional<ServerRow> row;
    if (hooks.selectedRow)
        row = hooks.selectedRow();
    if (dialog)
        dialog->present(row ? std::optional<AutoConnectSetup>(setupFor(*row)) : std::nullopt);
}

void AutoConnect::BitBtn1Click()
{
    const std::optional<ServerRow> row = hooks.selectedRow ? hooks.selectedRow() : std::nullopt;
    if (!row || !dialog) {
        // The selection was lost while the dialog was open: there is nothing to watch.
        prompter.beep();
        return;
    }
    const AutoConnectChoice choice = dialog->choice();

    state.targetAddress = row->address;
    state.targetPort = row->portText;
    state.missedPolls = 0;
    timer.start();
    state.playersWanted = choice.playersWanted;
    if (choice.passwordEnabled && !choice.password.isEmpty()) {
        launch.passwordGiven = true;
        launch.passwordArgument = passwordArgument(choice.password);
    }

    state.active = true;
    controls.watchStarted();
    if (hooks.trayCycling)
        hooks.trayCycling(true);
    dialog->dismiss();
    //: Status bar while auto-connect waits: %1 the server's address, %2 "<=" or ">", %3 the number of players.
    controls.showMessage(QCoreApplication::translate("AutoConnect", " Auto connect to %1. Waiting %2 %3 players")
                             .arg(state.targetAddress, choice.comparison, choice.playersWantedText));
    servers.clear();
    showControls();
    query();
}

void AutoConnect::BitBtn2Click()
{
    call(hooks.resumeFavoritesScan);
    if (dialog)
        dialog->dismiss();
}

void AutoConnect::query()
{
    // A failed send is reported by the protocol's network error.
    protocol.sendInfoRequest(state.targetAddress, state.targetPort.toInt());
}

void AutoConnect::TimerAutoTimer()
{
    query();
    if (++state.missedPolls < MissedPollLimit)
        return;
    timer.stop();
    call(hooks.releaseFavoritesScan);
    controls.watchEnded();
    state.active = false;
    if (hooks.trayCycling)
        hooks.trayCycling(false);
    showControls();
    prompter.information(QCoreApplication::translate("AutoConnect", "Auto connect"),
                         QCoreApplication::translate("AutoConnect", "Server is down, autoconnect disabled."));
    controls.showMessage(Launcher::autoConnectDisabledText());
    showControls();
}

bool AutoConnect::replyCheck(int players)
{
    state.missedPolls = 0;
    controls.watchReplied();
    const AutoConnectChoice choice = dialog ? dialog->choice() : AutoConnectChoice();
    if (!thresholdMet(choice.comparison, players, state.playersWanted)) {
        showControls();
        return true;
    }

    state.active = false;
    call(hooks.releaseFavoritesScan);
    timer.stop();
    controls.watchMet();
    showControls();
    call(hooks.selectFirstRow);

    if (choice.askFirst) {
        prompter.beep();
        call(hooks.bringToFront);
        const QString question
            = QCoreApplication::translate("AutoConnect", "There are %n players now on server %1. Do you want to join ?",
                                          nullptr, players)
                  .arg(state.targetAddress);
        // The reply's handling ends here; the answer decides the rest. Replies
        // go on updating the list while the question is open.
        prompter.question(question, [this](bool yes) { answered(yes); });
        return false;
    }
    join();
    return true;
}

void AutoConnect::answered(bool yes)
{
    if (!yes) {
        controls.showMessage(Launcher::autoConnectDisabledText());
        controls.joinDeclined();
        if (hooks.trayCycling)
            hooks.trayCycling(false);
        showControls();
        return;
    }
    join();
    // As after a reply that joined at once: the list is usable again.
    controls.serverListed(hooks.selectedRow && hooks.selectedRow());
    showControls();
}

void AutoConnect::join()
{
    call(hooks.play);
    controls.showMessage(Launcher::autoConnectDisabledText());
    showControls();
}

void AutoConnect::stop()
{
    if (hooks.trayCycling)
        hooks.trayCycling(false);
    timer.stop();
    controls.watchEnded();
    state.active = false;
    if (dialog)
        dialog->dismiss();
    controls.showMessage(Launcher::autoConnectDisabledText());
    showControls();
    call(hooks.resumeFavoritesScan);
}

void AutoConnect::endedByLaunch(const QString &statusText)
{
    call(hooks.releaseFavoritesScan);
    timer.stop();
    controls.watchEndedByLaunch();
    controls.showMessage(statusText);
    showControls();
}
