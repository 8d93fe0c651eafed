#pragma once

#include "scan/scancontrols.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <functional>
#include <utility>

class LocalAddressProvider;
class NetworkCards;
class Prompter;
class QTimer;
class QueryProtocol;
class ServerListModel;
class SettingsModel;
struct AutoConnectState;
struct ServerInfo;

// Where the info request goes and when: the sweep over favourites, broadcast
// and ranges, Stop, Refresh, the wait after a sweep and the common handling of
// network errors. It tells the scan controls what happens (see ScanControls).
//
// Everything runs on the thread of the event loop. A sweep is one long call
// that processes pending events between targets, so replies are listed, the
// status bar repaints and Stop can be pressed while it runs.
class ScanEngine : public QObject
{
    Q_OBJECT

public:
    ScanEngine(QueryProtocol &protocol, ServerListModel &servers, SettingsModel &settings,
               const AutoConnectState &autoConnect, LocalAddressProvider &localAddress, NetworkCards &cards,
               Prompter &prompter, ScanControls &controls, QObject *parent = nullptr);

    // How many listed servers Refresh asks again.
    static constexpr int TargetListSize = 100;
    static constexpr int WaitStart = 3;

    bool scanning() const { return Scanning; }
    // The countdown after a sweep (1000 ms, the child timer "Timer"); TimerTimer is its handler.
    bool countdownRunning() const;
    int waitCount() const { return WaitCount; }
    // The Address texts of the first rows, as last captured, and the row count then.
    const QStringList &targetAddresses() const { return capturedAddresses; }
    int rowsAtCapture() const { return capturedRows; }
    const ScanControls &controls() const { return shown; }

    // The window answers these; they default to "nothing selected".
    void setSelectedRow(std::function<int()> query) { selectedRow = std::move(query); }
    void setDetailPage(std::function<int()> query) { detailPage = std::move(query); } // 0 players, 1 rules
    // Processes pending events; tests replace it to act "while the sweep runs".
    void setPumpMessages(std::function<void()> pump) { pumpHook = std::move(pump); }
    // Pauses of a few milliseconds; replies are handled during them, user input after them.
    void setPause(std::function<void(int ms)> pauseFor) { pause = std::move(pauseFor); }
    // The auto-connect check of a reply from the watched server, run before
    // the buttons are set; false when the user declined the join.
    void setAutoConnectCheck(std::function<bool(const ServerInfo &info)> check) { autoConnectCheck = std::move(check); }

    // Processes pending events as the sweep does between its targets.
    void pumpMessages() { pumpHook(); }

    // A row became selected / no row is selected any more.
    void rowSelected();
    void selectionCleared();

public slots:
    void SBScanAllClick();
    void SBStopClick();
    void SBRefreshClick();
    void TimerTimer();
    void NetworkError();
    // A reply added a new row to the list.
    void serverAdded(int row, const ServerInfo &info);

signals:
    // The controls changed; the window shows them.
    void controlsChanged();
    // A check failed and its warning was shown: open the settings dialog.
    void settingsRequested();
    // A sweep starts: the players list and the big picture are emptied.
    void sweepStarted();

private:
    bool sweepFavorites();
    bool sweepBroadcast(int port);
    bool sweepRanges(int port);
    bool stopped();
    void capture();
    void startCountdown();
    void countTarget(const QString &host);
    void pump();
    void notify(bool force = false);
    bool checksPass();

    QueryProtocol &protocol;
    ServerListModel &servers;
    SettingsModel &settings;
    const AutoConnectState &autoConnect;
    LocalAddressProvider &localAddress;
    NetworkCards &cards;
    Prompter &prompter;
    ScanControls &shown;
    QTimer *Timer = nullptr;

    std::function<int()> selectedRow = [] { return -1; };
    std::function<int()> detailPage = [] { return 0; };
    std::function<void()> pumpHook;
    std::function<void(int ms)> pause;
    std::function<bool(const ServerInfo &info)> autoConnectCheck;

    bool Scanning = false;
    bool StopRequested = false;
    int WaitCount = 0;
    QStringList capturedAddresses;
    QStringList capturedPorts;
    int capturedRows = 0;
    int sent = 0;
    QElapsedTimer lastNotify;
};
