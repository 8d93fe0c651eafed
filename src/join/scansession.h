#pragma once

#include "net/datagramsocket.h"
#include "scan/autoconnectstate.h"
#include "scan/scancontrols.h"
#include "scan/serverfilter.h"
#include "scan/serverselection.h"

#include <QObject>
#include <QString>

#include <functional>

class AutoConnect;
class FavoritesModel;
class FavoritesScan;
class FavoritesScanScheduler;
class IniFile;
class Launcher;
class LocalAddressProvider;
class NetworkCards;
class PlayersModel;
class Prompter;
class QueryProtocol;
class RulesModel;
class ScanEngine;
class ServerFilterModel;
class ServerListModel;
class SettingsModel;
class Shell;
class UdpEndpoint;

// The work behind the main window: the endpoint, the query protocol, the
// server list with its filter, the detail lists, the scan engine, the
// favourites auto-scan, the launch and auto-connect, wired together. The
// window shows its state and forwards what the user asks; what the window
// must do in turn (show the password prompt, hide, come to the front, cycle
// the tray icon) comes as signals.
class ScanSession : public QObject
{
    Q_OBJECT

public:
    struct Services
    {
        SettingsModel &settings;
        Prompter &prompter;
        Shell &shell;
        LocalAddressProvider &localAddress;
        NetworkCards &networkCards;
        quint16 localPort = 27005;
        // The system's socket by default: a sweep hands it many datagrams per call.
        DatagramSocketFactory newSocket = newPlainDatagramSocket;
    };

    // Throws the endpoint's error when no UDP socket can be had.
    explicit ScanSession(const Services &services, QObject *parent = nullptr);
    ~ScanSession() override;

    // The settings were loaded: the favourites auto-scan takes them.
    void settingsLoaded();
    void setIniFile(IniFile *file) { m_ini = file; }
    // The favourites list that "Add To Favorites" adds to (none: adding does nothing).
    void setFavorites(FavoritesModel *model) { m_favorites = model; }

    UdpEndpoint &endpoint() { return *m_endpoint; }
    QueryProtocol &protocol() { return *m_protocol; }
    ServerListModel &servers() { return *m_servers; }
    // The list as the user sees it, through the quick filter.
    ServerFilterModel &shownServers() { return *m_shownServers; }
    PlayersModel &players() { return *m_players; }
    RulesModel &rules() { return *m_rules; }
    ScanEngine &engine() { return *m_engine; }
    AutoConnect &autoConnect() { return *m_autoConnect; }
    Launcher &launcher() { return *m_launcher; }
    const ScanControls &controls() const { return m_controls; }
    const SettingsModel &settings() const { return m_settings; }
    const AutoConnectState &autoConnectState() const { return m_autoConnectState; }

    // The selected server's row in the list, or -1.
    int selectedRow() const;
    // The quick filter as the settings keep it; the window shows it and sets it back.
    ServerFilter filter() const;

public slots:
    void scanAll();
    void stop();
    void refresh();
    // The user selected the list's row `row`, or no row (-1).
    void selectRow(int row);
    // The list lost its selection without a word from the view (a filter
    // or a new sweep took the row away).
    void selectionLost();
    // 0 players, 1 rules.
    void showDetailPage(int page);
    void play();
    void toggleAutoConnect();
    void addSelectedToFavorites();
    void setFilter(const ServerFilter &filter);
    // The scan-port choice (0 game, 1 HLTV); written to the file at once.
    void choosePort(int index);
    // A turn of the favourites auto-scan is due ("TimerFav").
    void favoritesTurnDue();
    // "Auto scan" ticked or unticked in the settings.
    void switchFavoritesScan(bool on);
    // "Interval (sec)" changed: the running period restarts with it.
    void setFavoritesInterval(int seconds);
    // Auto-connect holds the favourites auto-scan while its dialog is open or
    // it waits, and lets it run again (when switched on) at its end.
    void holdFavoritesScan();
    void resumeFavoritesScan();
    // The window is seen by the user, or hidden (or minimised where that stands for hidden).
    void windowShown(bool shown);
    // The window's size, kept for the next start.
    void rememberSize(int width, int height);
    // A status note beside the scan's messages (the hotkey's refusal).
    void addNote(const QString &text);
    // The program or the desktop session ends: the sweep stops and the endpoint closes.
    void shutDown();

signals:
    void controlsChanged();
    // A check failed and its warning was shown: open the settings dialog.
    void settingsRequested();
    // A sweep starts: the big picture is emptied.
    void sweepStarted();
    void passwordRequested();
    void revealWindowRequested();
    void hideWindowRequested();
    void frontRequested();
    void trayCyclingChanged(bool cycling);
    // Auto-connect wants the first row selected, with the usual selection handling.
    void firstRowWanted();
    // Auto-connect started the game while the window was out of sight.
    void joinedUnseen(const QString &title, const QString &text);

private:
    void serverAdded(int row, const ServerInfo &info);
    void autoConnectControlsChanged();
    void joinWatchedServer();
    void launchSelected(std::function<void()> started = {});

    SettingsModel &m_settings;
    Prompter &m_prompter;
    AutoConnectState m_autoConnectState;
    ScanControls m_controls;
    ServerSelection m_selection;
    UdpEndpoint *m_endpoint;
    QueryProtocol *m_protocol;
    ServerListModel *m_servers;
    ServerFilterModel *m_shownServers;
    PlayersModel *m_players;
    RulesModel *m_rules;
    ScanEngine *m_engine;
    FavoritesScan *m_favoritesScan;
    FavoritesScanScheduler *m_favoritesSchedule;
    Launcher *m_launcher;
    AutoConnect *m_autoConnect;
    FavoritesModel *m_favorites = nullptr;
    IniFile *m_ini = nullptr;
    bool m_windowSeen = false;
    bool m_shutDown = false;
};
