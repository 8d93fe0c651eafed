#pragma once

#include "scan/serverlistmodel.h"

#include <QString>

#include <functional>
#include <optional>

class Prompter;
class QTimer;
class QueryProtocol;
struct AutoConnectState;
struct LaunchState;
class ScanControls;

// What the auto-connect dialog holds at the moment it is read.
struct AutoConnectChoice
{
    QString comparison = QStringLiteral("<="); // "<=" or ">"
    int playersWanted = 9;
    QString playersWantedText = QStringLiteral("9"); // the spin box's text
    bool askFirst = false;
    bool passwordEnabled = false;
    QString password;
};

// How the dialog describes the row it was opened on.
struct AutoConnectSetup
{
    QString caption;
    int maximum = 0;
    int value = 0;
};

// The auto-connect dialog as the logic sees it; the window implements it.
class AutoConnectDialog
{
public:
    virtual ~AutoConnectDialog() = default;
    // Shows the dialog; with a setup, takes its caption and spin box range and value.
    virtual void present(const std::optional<AutoConnectSetup> &setup) = 0;
    virtual void dismiss() = 0;
    virtual AutoConnectChoice choice() const = 0;
};

// The watch on one server that joins it as soon as its player count crosses
// the threshold chosen in the dialog: opening the dialog, OK and Cancel, the
// 5-second poll with its give-up, the check of every reply of the target and
// the ends of the watch. The window shows what it changes.
class AutoConnect
{
public:
    // What the main window does for auto-connect. Hooks left empty are skipped.
    struct Hooks
    {
        std::function<std::optional<ServerRow>()> selectedRow;
        // Selects the first row of the list, with the usual selection handling.
        std::function<void()> selectFirstRow;
        // From the opening of the dialog to any end of auto-connect, the
        // favourites auto-scan is held: paused, even when the window is shown again.
        std::function<void()> pauseFavoritesScan;
        // The hold ends with a restart of the auto-scan when it is switched on
        // (Cancel, or the user stopped auto-connect) ...
        std::function<void()> resumeFavoritesScan;
        // ... or without one (a join or a give-up leaves it paused until the
        // window is shown again or the switch is ticked).
        std::function<void()> releaseFavoritesScan;
        // The tray icon cycles while auto-connect waits; stopping shows its first icon.
        std::function<void(bool cycling)> trayCycling;
        // Restores the application and brings it to the foreground.
        std::function<void()> bringToFront;
        // Performs the Play button's click.
        std::function<void()> play;
        // The scan controls changed.
        std::function<void()> controlsChanged;
    };

    static constexpr int PollIntervalMs = 5000;
    // Ticks without an answer after which the server counts as down.
    static constexpr int MissedPollLimit = 4;

    AutoConnect(AutoConnectState &state, LaunchState &launch, QueryProtocol &protocol, ServerListModel &servers,
                ScanControls &controls, Prompter &prompter, QTimer &timer, Hooks hooks);

    void setDialog(AutoConnectDialog *shown) { dialog = shown; }

    // The Auto button: opens the dialog when inactive, stops auto-connect when active.
    void SBAutoClick();
    // Dialog OK: watch the selected row's server.
    void BitBtn1Click();
    // Dialog Cancel or its close box.
    void BitBtn2Click();
    // The poll; TimerAuto's handler.
    void TimerAutoTimer();
    // A reply of the watched server was listed with this player count. False
    // when a question about the join was opened (its answer does the rest) or
    // the join was declined: the reply's handling ends there.
    bool replyCheck(int players);
    // A launch requested by other means ended auto-connect (it is already inactive).
    void endedByLaunch(const QString &statusText);

    // The dialog's caption, spin box maximum and value for a row: by default
    // the join comes as soon as one player has left.
    static AutoConnectSetup setupFor(const ServerRow &row);

    static bool thresholdMet(const QString &comparison, int players, int playersWanted);

private:
    void open();
    void stop();
    void answered(bool yes);
    void join();
    void query();
    void showControls();

    AutoConnectState &state;
    LaunchState &launch;
    QueryProtocol &protocol;
    ServerListModel &servers;
    ScanControls &controls;
    Prompter &prompter;
    QTimer &timer;
    Hooks hooks;
    AutoConnectDialog *dialog = nullptr;
};
