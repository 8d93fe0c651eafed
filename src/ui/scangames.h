#pragma once

#include "scan/scancontrols.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class FavoritesModel;
class FavoritesScan;
class FavoritesScanScheduler;
class AutoConnect;
class FilterBar;
class GlobalHotkey;
class IconProxyModel;
class IniFile;
class Launcher;
class LocalAddressProvider;
class NetworkCards;
class PlayersModel;
class Prompter;
class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;
class QTimer;
class QueryProtocol;
class RulesModel;
class ScanEngine;
class ServerFilterModel;
class ServerListModel;
class SettingsModel;
class Shell;
class UdpEndpoint;
class TrayIcon;
struct AutoConnectState;
struct LaunchState;
struct ServerInfo;

// The main window: the server list, the scan buttons, the players and rules
// pages, the status bar, the tray icon and the global hotkey. The work is
// done by the scan engine and the models; this window shows their state and
// forwards the user's clicks.
class TForm1 : public QMainWindow
{
    Q_OBJECT

public:
    struct Services
    {
        SettingsModel &settings;
        AutoConnectState &autoConnect;
        LaunchState &launch;
        Prompter &prompter;
        Shell &shell;
        LocalAddressProvider &localAddress;
        NetworkCards &networkCards;
        quint16 localPort = 27005;
        bool registerHotkey = true;
    };

    explicit TForm1(const Services &services, QWidget *parent = nullptr);
    ~TForm1() override;

    static QString applicationTitle();
    static QString homePageAddress();

    // The settings were loaded: take the port choice and the size.
    void applySettings();
    void setIniFile(IniFile *file);
    // The favourites list that "Add To Favorites" adds to (none: the menu item does nothing).
    void setFavorites(FavoritesModel *model) { favorites = model; }

    // The parts that Program, the benchmarks and the tests work with. The
    // controls are found by their object names, which are their member names.
    UdpEndpoint &udp() { return *UDP; }
    QueryProtocol &protocol() { return *Protocol; }
    ServerListModel &servers() { return *Servers; }
    ScanEngine &engine() { return *Engine; }
    TrayIcon &tray() { return *Tray; }
    AutoConnect &autoConnector() { return *Auto; }
    Launcher &launcher() { return *Launch; }
    int selectedRow() const;
    void selectRow(int row);

public slots:
    void LWSelectItem();
    void LWClick();
    void LWColumnClick(int column);
    void LWPlayersColumnClick(int column);
    void LWDblClick();
    void SBPlayClick();
    void SBAutoClick();
    void TimerAutoTimer();
    void PMSAddClick();
    // "Copy Address" (also Ctrl+C on the list) and "Copy Steam Link" of the server menu.
    void PMSCopyAddressClick();
    void PMSCopySteamLinkClick();
    void TimerFavTimer();
    // The scan-port choice (0 game, 1 HLTV); written to the file at once.
    void RGClick(int index);
    // "Auto scan" ticked or unticked in the settings.
    void favoritesScanSwitched(bool on);
    // "Interval (sec)" changed: the running period restarts with it.
    void favoritesIntervalChanged(int seconds);
    // Auto-connect holds the favourites auto-scan while its dialog is open or
    // it waits, and lets it run again (when switched on) at its end.
    void pauseFavoritesScan();
    void resumeFavoritesScan();
    void Hide1Click();
    void Exit1Click();
    void Options1Click();
    void About2Click();
    void Homepage1Click();
    void TrayIconDblClick();
    void TrayShowClick();
    void TrayExitClick();
    // Shift+Alt+S: hide when shown, show when hidden.
    void HotkeyPressed();
    // Another start of the same version asked this one to come to the front.
    void bringToFront();
    // The session ends (log-off or shut-down).
    void sessionEnding();

signals:
    void optionsRequested();
    // A launch needs a password first.
    void passwordRequested();
    void aboutRequested();
    // The window became the active window (the daily update check hangs on it).
    void activated();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildCentralArea();
    void buildQuickFilter();
    void buildStatusBar();
    void buildTray();
    void buildLauncher(LaunchState &launch);
    void buildAutoConnect(LaunchState &launch);
    void registerHotkey();
    void showControls();
    // The filter bar changed: the list shows what it lets through, the settings keep it.
    void quickFilterChanged();
    void showFilterCount();
    // The selected row to the shell; `started` runs when the game or Steam was started.
    void launchSelected(std::function<void()> started = {});
    // Auto-connect's join; a join the window cannot show is told by the tray.
    void autoConnectJoin();
    void clearDetails();
    // Whether address:port is the server of the selected row.
    bool isSelectedServer(const QString &address, int port) const;
    void showRestored();
    // Hides to the tray, or minimises where there is none.
    void hideWindow();
    void stopScanning();

    // Controls, named as the handlers refer to them.
    QTableView *LW = nullptr;
    QTableView *LWPlayers = nullptr;
    QTableView *LWRules = nullptr;
    QTabWidget *PageControl1 = nullptr;
    QPushButton *SBScanAll = nullptr;
    QPushButton *SBStop = nullptr;
    QPushButton *SBRefresh = nullptr;
    QPushButton *SBAuto = nullptr;
    QPushButton *SBPlay = nullptr;
    QRadioButton *RGGame = nullptr;
    QRadioButton *RGHltv = nullptr;
    QProgressBar *Gauge = nullptr;
    QLabel *Image = nullptr;
    QLabel *Panels[3] = {nullptr, nullptr, nullptr};
    QMenu *PMServers = nullptr;
    QMenu *PMTray = nullptr;
    // Polls the auto-connect target every 5000 ms while auto-connect waits.
    QTimer *TimerAuto = nullptr;
    // The favourites auto-scan's timer ("TimerFav") and when it runs.
    FavoritesScanScheduler *FavSchedule = nullptr;

    SettingsModel &settings;
    AutoConnectState &autoConnect;
    Prompter &prompter;
    Shell &shell;
    LocalAddressProvider &localAddress;
    bool wantHotkey;

    UdpEndpoint *UDP = nullptr;
    QueryProtocol *Protocol = nullptr;
    ServerListModel *Servers = nullptr;
    ServerFilterModel *ShownServers = nullptr;
    IconProxyModel *ServerIcons = nullptr;
    FilterBar *QuickFilter = nullptr;
    QAction *PMSCopyAddress = nullptr;
    PlayersModel *Players = nullptr;
    RulesModel *Rules = nullptr;
    ScanEngine *Engine = nullptr;
    TrayIcon *Tray = nullptr;
    std::unique_ptr<Launcher> Launch;
    std::unique_ptr<AutoConnect> Auto;
    std::unique_ptr<GlobalHotkey> Hotkey;
    std::unique_ptr<FavoritesScan> FavScan;
    FavoritesModel *favorites = nullptr;
    IniFile *ini = nullptr;
    // What the scan buttons, the gauge and the status panels show.
    ScanControls controls;
    bool endpointReleased = false;
};
