#pragma once

#include "scan/serverlistmodel.h"

#include <QString>

#include <functional>
#include <optional>

class Prompter;
class SettingsModel;
class Shell;
struct AutoConnectState;
struct LaunchState;

// The one launch that Play, the list's "Play" item, a double click, the
// password prompt's OK and the auto-connect join all end in: it turns the
// selected row into a started game client, directly or through Steam.
class Launcher
{
public:
    // What the main window does for a launch. Hooks left empty are skipped.
    struct Hooks
    {
        // Show the tray's first icon again; its animation marked a waiting auto-connect.
        std::function<void()> stopTrayAnimation;
        // This launch ended auto-connect: stop its timer, enable Scan, paint the
        // Auto caption black and put the text into the status bar's message panel.
        std::function<void(const QString &statusText)> autoConnectEnded;
        // Bring the main window back when it is hidden, so the question is seen.
        std::function<void()> revealMainWindow;
        std::function<void()> hideMainWindow;
        // Open the password prompt without waiting for it.
        std::function<void()> showPasswordPrompt;
    };

    Launcher(const SettingsModel &settings, LaunchState &launch, AutoConnectState &autoConnect,
             Prompter &prompter, Shell &shell, Hooks hooks);

    // Launches the selected row; without a row nothing happens. The row is a
    // copy because the list may change while a question is open. `started`
    // runs when the game or Steam was started, after any question.
    void SBPlayClick(std::optional<ServerRow> row, std::function<void()> started = {});

    static QString autoConnectDisabledText();

private:
    void launchRow(const ServerRow &row, const std::function<void()> &started);
    bool start(const QString &program, const QString &params, const QString &emptyPathText,
               const QString &address, const QString &portText);

    const SettingsModel &settings;
    LaunchState &launch;
    AutoConnectState &autoConnect;
    Prompter &prompter;
    Shell &shell;
    Hooks hooks;
};
