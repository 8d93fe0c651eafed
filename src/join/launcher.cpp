#include "join/launcher.h"

#include "scan/autoconnectstate.h"
#include "join/commandline.h"
#include "join/launchstate.h"
#include "desktop/shell.h"
#include "scan/listicons.h"
#include "desktop/prompter.h"
#include "settings/settingsmodel.h"

#include <QCoreApplication>
#include <utility>

namespace {

void call(const std::function<void()> &hook)
{
    if (hook)
        hook();
}

} // namespace

Launcher::Launcher(const SettingsModel &settingsModel, LaunchState &launchState, AutoConnectState &autoConnectState,
                   Prompter &messages, Shell &starter, Hooks windowHooks)
    : settings(settingsModel)
    , launch(launchState)
    , autoConnect(autoConnectState)
    , prompter(messages)
    , shell(starter)
    , hooks(std::move(windowHooks))
{
}

QString Launcher::autoConnectDisabledText()
{
    return QCoreApplication::translate("AutoConnect", " Autoconnect disabled");
}

void Launcher::SBPlayClick(std::optional<ServerRow> row, std::function<void()> started)
{
    if (!row)
        return;
    call(hooks.stopTrayAnimation);

    if (autoConnect.active) {
        // A join by hand ends the watch, so it never pulls the user off the
        // server they chose. Unlike the other ways of ending auto-connect, the
        // list and Refresh stay as they are.
        autoConnect.active = false;
        if (hooks.autoConnectEnded)
            hooks.autoConnectEnded(autoConnectDisabledText());
    }

    if (row->accessIcon == IconFull) {
        call(hooks.revealMainWindow);
        prompter.question(serverFullQuestion(), [this, server = *row, started](bool yes) {
            if (yes)
                launchRow(server, started);
        });
        return;
    }
    launchRow(*row, started);
}

void Launcher::launchRow(const ServerRow &row, const std::function<void()> &started)
{
    if (row.accessIcon == IconPassword && !launch.passwordGiven) {
        // The prompt's OK sets the password and asks for the launch again.
        call(hooks.showPasswordPrompt);
        return;
    }

    const std::optional<GameDispatch> game = dispatchGame(row.caption);
    if (!game) {
        prompter.error(unknownGameMessage(row.caption));
        return;
    }

    const LaunchEntry &entry = settings.games[size_t(game->entry)];
    const bool ok = entry.steam
        ? start(settings.steamExePath, entry.steamParams, steamPathEmptyMessage(), row.address, row.portText)
        : start(entry.exePath, entry.params, emptyPathMessage(game->emptyPathPrefix), row.address, row.portText);
    if (ok && started)
        started();
}

bool Launcher::start(const QString &program, const QString &params, const QString &emptyPathText,
                     const QString &address, const QString &portText)
{
    if (program.isEmpty()) {
        launch.passwordGiven = false;
        prompter.error(emptyPathText);
        return false;
    }
    // No shell in between: the arguments go to the program as they are split here.
    const bool started = shell.startDetached(
        program, splitCommandLine(launchArguments(params, address, portText, launch.passwordArgument)));
    call(hooks.hideMainWindow);
    launch.passwordGiven = false;
    return started;
}
