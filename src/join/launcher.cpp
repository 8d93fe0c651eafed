#include "join/launcher.h"

#include "scan/autoconnectstate.h"
#include "join/commandline.h"
#include "join/launchstate.h"
#include "desktop/shell.h"
#include "scan/listicons.h"
#include "desktop/prompter.h"
#include "settings/settingsmodel.h"

#include <QCoreApplication>

Launcher::Launcher(const SettingsModel &settings, const AutoConnectState &autoConnect, Prompter &prompter,
                   Shell &shell, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_autoConnect(autoConnect)
    , m_prompter(prompter)
    , m_shell(shell)
{
}

void Launcher::givePassword(const QString &password)
{
    m_state.passwordArgument = passwordArgument(password);
    m_state.passwordGiven = true;
}

void Launcher::withdrawPassword()
{
    m_state.passwordGiven = false;
}

QString Launcher::autoConnectDisabledText()
{
    return QCoreApplication::translate("AutoConnect", " Autoconnect disabled");
}

void Launcher::play(std::optional<ServerRow> row, std::function<void()> started)
{
    if (!row)
        return;
    emit trayAnimationStopped();

    // A join by hand ends the watch, so it never pulls the user off the
    // server they chose. Unlike the other ways of ending auto-connect, the
    // list and Refresh stay as they are.
    if (m_autoConnect.active)
        emit autoConnectEnded(autoConnectDisabledText());

    if (row->accessIcon == IconFull) {
        emit revealWindowRequested();
        m_prompter.question(serverFullQuestion(), [this, server = *row, started](bool yes) {
            if (yes)
                launchRow(server, started);
        });
        return;
    }
    launchRow(*row, started);
}

void Launcher::launchRow(const ServerRow &row, const std::function<void()> &started)
{
    if (row.accessIcon == IconPassword && !m_state.passwordGiven) {
        // The prompt's OK sets the password and asks for the launch again.
        emit passwordRequested();
        return;
    }

    const std::optional<GameDispatch> game = dispatchGame(row.caption);
    if (!game) {
        m_prompter.error(unknownGameMessage(row.caption));
        return;
    }

    const LaunchEntry &entry = m_settings.games[size_t(game->entry)];
    const bool ok = entry.steam
        ? start(m_settings.steamExePath, entry.steamParams, steamPathEmptyMessage(), row.address, row.portText)
        : start(entry.exePath, entry.params, emptyPathMessage(game->emptyPathPrefix), row.address, row.portText);
    if (ok && started)
        started();
}

bool Launcher::start(const QString &program, const QString &params, const QString &emptyPathText,
                     const QString &address, const QString &portText)
{
    if (program.isEmpty()) {
        m_state.passwordGiven = false;
        m_prompter.error(emptyPathText);
        return false;
    }
    // No shell in between: the arguments go to the program as they are split here.
    const bool started = m_shell.startDetached(
        program, splitCommandLine(launchArguments(params, address, portText, m_state.passwordArgument)));
    emit hideWindowRequested();
    m_state.passwordGiven = false;
    return started;
}
