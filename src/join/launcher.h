#pragma once

#include "join/launchstate.h"
#include "scan/serverlistmodel.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class Prompter;
class SettingsModel;
class Shell;
struct AutoConnectState;

// The one launch that Play, the list's "Play" item, a double click, the
// password prompt's OK and the auto-connect join all end in: it turns the
// selected row into a started game client, directly or through Steam. It
// owns what the next launch carries (the password given for it).
class Launcher : public QObject
{
    Q_OBJECT

public:
    Launcher(const SettingsModel &settings, const AutoConnectState &autoConnect, Prompter &prompter, Shell &shell,
             QObject *parent = nullptr);

    // Launches the row; without a row nothing happens. The row is a copy
    // because the list may change while a question is open. `started` runs
    // when the game or Steam was started, which may be after a question was
    // answered, long after this call returned.
    void play(std::optional<ServerRow> row, std::function<void()> started = {});

    // The password the next launches carry, from the prompt or the auto-connect dialog.
    void givePassword(const QString &password);
    // The prompt was cancelled: the next launch asks again.
    void withdrawPassword();
    const LaunchState &state() const { return m_state; }

    static QString autoConnectDisabledText();

signals:
    // The tray's first icon again: its animation marked a waiting auto-connect.
    void trayAnimationStopped();
    // This launch ends a waiting auto-connect; the text goes to the message panel.
    void autoConnectEnded(const QString &statusText);
    // Bring the main window back when it is hidden, so the question is seen.
    void revealWindowRequested();
    void hideWindowRequested();
    // The server needs a password first: open the prompt without waiting for it.
    void passwordRequested();

private:
    void launchRow(const ServerRow &row, const std::function<void()> &started);
    bool start(const QString &program, const QString &params, const QString &emptyPathText,
               const QString &address, const QString &portText);

    const SettingsModel &m_settings;
    const AutoConnectState &m_autoConnect;
    Prompter &m_prompter;
    Shell &m_shell;
    LaunchState m_state;
};
