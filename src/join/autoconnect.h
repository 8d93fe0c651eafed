#pragma once

#include "scan/serverlistmodel.h"

#include <QObject>
#include <QString>

#include <optional>

class Launcher;
class Prompter;
class QTimer;
class QueryProtocol;
class ScanControls;
class ServerSelection;
struct AutoConnectState;

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
// the ends of the watch. It alone changes the auto-connect state; the window
// shows what it changes.
class AutoConnect : public QObject
{
    Q_OBJECT

public:
    static constexpr int PollIntervalMs = 5000;
    // Ticks without an answer after which the server counts as down.
    static constexpr int MissedPollLimit = 4;

    AutoConnect(AutoConnectState &state, Launcher &launcher, QueryProtocol &protocol, ServerListModel &servers,
                const ServerSelection &selection, ScanControls &controls, Prompter &prompter,
                QObject *parent = nullptr);

    void setDialog(AutoConnectDialog *shown) { m_dialog = shown; }

    // The Auto button: opens the dialog when inactive, stops auto-connect when active.
    void toggle();
    // Dialog OK: watch the selected row's server.
    void watchSelected();
    // Dialog Cancel or its close box.
    void cancel();
    // The poll, every PollIntervalMs while the watch runs ("TimerAuto").
    void poll();
    // A reply of the watched server was listed with this player count. False
    // when a question about the join was opened (its answer does the rest) or
    // the join was declined: the reply's handling ends there.
    bool replyCheck(int players);
    // A launch by other means ends the watch.
    void endedByLaunch(const QString &statusText);

    // The dialog's caption, spin box maximum and value for a row: by default
    // the join comes as soon as one player has left.
    static AutoConnectSetup setupFor(const ServerRow &row);

    static bool thresholdMet(const QString &comparison, int players, int playersWanted);

signals:
    // Select the first row of the list, with the usual selection handling.
    void firstRowWanted();
    // From the opening of the dialog to any end of auto-connect, the
    // favourites auto-scan is held: paused, even when the window is shown again.
    void favoritesScanHeld();
    // The hold ends with a restart of the auto-scan when it is switched on
    // (Cancel, or the user stopped auto-connect) ...
    void favoritesScanResumed();
    // ... or without one (a join or a give-up leaves it paused until the
    // window is shown again or the switch is ticked).
    void favoritesScanReleased();
    // The tray icon cycles while auto-connect waits; stopping shows its first icon.
    void trayCyclingChanged(bool cycling);
    // Restore the application and bring it to the foreground.
    void frontWanted();
    // The threshold was met: join the selected server, as Play does.
    void joinWanted();
    void controlsChanged();

private:
    void open();
    void stop();
    void answered(bool yes);
    void join();
    void query();

    AutoConnectState &m_state;
    Launcher &m_launcher;
    QueryProtocol &m_protocol;
    ServerListModel &m_servers;
    const ServerSelection &m_selection;
    ScanControls &m_controls;
    Prompter &m_prompter;
    QTimer *m_timer;
    AutoConnectDialog *m_dialog = nullptr;
};
