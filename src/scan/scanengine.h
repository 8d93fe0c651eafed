#pragma once

#include "scan/scancontrols.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>

class IniFile;
class LocalAddressProvider;
class Prompter;
class QueryProtocol;
class ServerListModel;
class SettingsModel;
struct AutoConnectState;
struct ServerInfo;

// Where the info request goes and when: the sweep over favourites, broadcast
// and ranges, Stop, Refresh, the wait after a sweep and the common handling of
// network errors. It also keeps the scan buttons' states (see ScanControls).
//
// Everything runs on the thread of the event loop. A sweep is one long call
// that processes pending events between targets, so replies are listed, the
// status bar repaints and Stop can be pressed while it runs.
class ScanEngine : public QObject
{
    Q_OBJECT

public:
    ScanEngine(QueryProtocol &protocol, ServerListModel &servers, SettingsModel &settings,
               const AutoConnectState &autoConnect, LocalAddressProvider &localAddress, Prompter &prompter,
               QObject *parent = nullptr);

    // How many listed servers Refresh asks again.
    static constexpr int TargetListSize = 100;
    static constexpr int WaitStart = 3;

    bool Scanning = false;
    bool StopRequested = false;
    int WaitCount = 0;
    // The Address and Port texts of the first rows, as last captured.
    QStringList targetAddresses;
    QStringList targetPorts;
    int rowsAtCapture = 0;

    ScanControls controls;
    // The countdown after a sweep (1000 ms); TimerTimer is its handler.
    QTimer Timer;

    // The window answers these; they default to "nothing selected".
    std::function<int()> selectedRow = [] { return -1; };
    std::function<int()> detailPage = [] { return 0; }; // 0 players, 1 rules
    // Processes pending events; tests replace it to act "while the sweep runs".
    std::function<void()> pumpMessages;
    // Pauses of a few milliseconds; replies are handled during them, user input after them.
    std::function<void(int ms)> pause;
    // The auto-connect check of a reply from the watched server, run before
    // the buttons are set; false when the user declined the join.
    std::function<bool(const ServerInfo &info)> autoConnectCheck;

    // The file that the port choice is written to at once (none: not written).
    void setIniFile(IniFile *file) { ini = file; }

    // A row became selected / no row is selected any more.
    void rowSelected();
    void selectionCleared();

public slots:
    void SBScanAllClick();
    void SBStopClick();
    void SBRefreshClick();
    void TimerTimer();
    void RGClick(int index);
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
    Prompter &prompter;
    IniFile *ini = nullptr;
    int sent = 0;
    QElapsedTimer lastNotify;
};
