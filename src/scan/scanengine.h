#pragma once

#include "scan/scancontrols.h"

#include "scan/addressrange.h"
#include "scan/serverselection.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QStringList>
#include <optional>
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
// Everything runs on the thread of the event loop, which is never held up: a
// sweep is a series of steps taken by a timer ("SweepTimer"), each short, so
// replies are listed, the status bar repaints and Stop can be pressed between
// them. The scan delay is the time the timer waits between steps.
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
    static constexpr int RefreshPauseMs = 300;
    // Without a scan delay, one step sends to at most this many range
    // addresses, and stops early once it took StepBudgetNs.
    static constexpr int StepAddresses = 1024;
    static constexpr qint64 StepBudgetNs = 1000000;

    bool scanning() const { return Scanning; }
    // The sweep has steps left to take (Stop shows at the next one).
    bool sweepRunning() const { return step != Step::Idle; }
    // The countdown after a sweep (1000 ms, the child timer "Timer"); countdownTick is its handler.
    bool countdownRunning() const;
    int waitCount() const { return WaitCount; }
    // The Address texts of the first rows, as last captured, and the row count then.
    const QStringList &targetAddresses() const { return capturedAddresses; }
    int rowsAtCapture() const { return capturedRows; }
    const ScanControls &controls() const { return shown; }

    // The selected server, whose details a refresh asks again; none by default.
    void followSelection(const ServerSelection &selection) { m_selection = &selection; }

    // A row became selected / no row is selected any more.
    void rowSelected();
    void selectionCleared();

public slots:
    void scanAll();
    void stop();
    void refresh();
    void countdownTick();
    void networkError();
    // A reply added a new row to the list (a reply of the watched server
    // reaches auto-connect first, which may end the watch).
    void serverAdded();
    // The sweep's next step ("SweepTimer").
    void sweepStep();
    // The refresh's requests, after its pause ("RefreshTimer").
    void refreshStep();

signals:
    // The controls changed; the window shows them.
    void controlsChanged();
    // A check failed and its warning was shown: open the settings dialog.
    void settingsRequested();
    // A sweep starts: the players list and the big picture are emptied.
    void sweepStarted();

private:
    enum class Step { Idle, Favorites, Broadcast, Ranges, Lookups, Count };
    // Where a favourite stands: before its send, or sent and waiting out the second half of the delay.
    enum class FavoritePhase { Before, Send, After };

    void next(Step to, int waitMs = 0);
    void favoritesStep();
    void favoriteSent(const QString &host, int port);
    void favoriteResolved(quint64 sweep, const QString &address, int port);
    void afterFavorites();
    void broadcastStep();
    void rangesStep();
    bool nextAddress(quint32 &address);
    void rangeSent(const QString &host);
    void countStep();
    bool stopped();
    void capture();
    void startCountdown();
    // Shows the target in the activity panel; it counts as sent only when its request went out.
    void countTarget(const QString &host, bool wentOut);
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
    const ServerSelection *m_selection;
    QTimer *Timer = nullptr;
    QTimer *SweepTimer = nullptr;
    QTimer *RefreshTimer = nullptr;

    int selectedRow() const;

    bool Scanning = false;
    bool StopRequested = false;
    int WaitCount = 0;
    QStringList capturedAddresses;
    QStringList capturedPorts;
    int capturedRows = 0;
    int sent = 0;
    QElapsedTimer lastNotify;

    // The sweep's place.
    Step step = Step::Idle;
    quint64 sweepNumber = 0; // a lookup that ends after its sweep sends nothing
    int port = 0;
    int favorite = 0;
    FavoritePhase favoritePhase = FavoritePhase::Before;
    QString favoriteHost;
    int favoritePort = 0;
    bool favoriteOk = false;
    int lookupsPending = 0;
    int range = 0;
    std::optional<RangeWalker> walker;
    // With a scan delay: the address sent to that waits out the delay.
    QString rangeHost;
    bool rangeHostPending = false;
    QVector<quint32> stepAddresses;
};
