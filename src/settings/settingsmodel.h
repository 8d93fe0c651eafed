#pragma once

#include "settings/launchtable.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

class IniFile;

// The "Show only" filters, in the order of the Games section.
enum GameFilter {
    FilterHL1, FilterHL2, FilterCS15, FilterCS16, FilterCSS, FilterCSP, FilterCZ,
    FilterDOD, FilterDODS, FilterGMOD, FilterTF, FilterTF2, FilterDMC, FilterRC, FilterL4D,
    GameFilterCount
};

struct RangeRow
{
    bool checked = false;
    QString from;
    QString to;
    bool operator==(const RangeRow &o) const { return checked == o.checked && from == o.from && to == o.to; }
};

struct FavoriteRow
{
    QString host;
    QString port;
    bool operator==(const FavoriteRow &o) const { return host == o.host && port == o.port; }
};

// Every setting of the program, live. The windows edit it; everything else reads
// it at the moment of use. Initial values are those the controls show before the
// configuration file is loaded.
class SettingsModel
{
public:
    // Settings
    int gameType = 0; // 0 game port, 1 HLTV port
    LaunchTable games = defaultLaunchTable();
    QString steamExePath;
    int height = 351;
    int width = 680;
    int curItem = 0;
    QString csPort = QStringLiteral("27015");
    int favWidth = 103;
    QString hltvPort = QStringLiteral("27020");
    bool scanOld = true;
    int delay = 5; // the control shows 5 until the load sets it (default 0)
    bool trans = false;
    bool favAutoScan = false;
    int updInterval = 10;
    int curPage = 0;
    bool broadcast = true;
    // The broadcast also goes to the LAN ports in a game-port scan.
    bool broadcastLanPorts = true;
    int transLevel = 255;
    bool doubleClick = true;
    bool checkUpdates = true;
    QString lastUpdateDate;
    // The main window's quick filter.
    QString filterText;
    bool hideEmpty = false;
    bool hideFull = false;
    bool hidePassword = false;
    // The language of the texts from the next start: empty follows the
    // system, otherwise a code such as "en" or "ru".
    QString language;

    // Games
    std::array<bool, GameFilterCount> showGame = filledShowGame();

    // Params
    QStringList params;

    // Ranges
    QVector<RangeRow> ranges;

    // Favorites
    QVector<FavoriteRow> favorites;

    // Password
    bool showPass = false;
    QString lastPass;

    // Whether the favourites timer must fire 200 ms after start (auto scan on at load).
    bool favFirstTickPending = false;

    // Problems found while loading (a range count that is no number, ...), for the user.
    QStringList loadWarnings;

    static QStringList defaultParamsList();

    // The language setting alone, for the start-up before the windows exist.
    static QString readLanguage(IniFile &ini);

    // Whole-file load and save, in the documented orders. Errors of the file
    // (IniWriteError) propagate to the caller.
    void load(IniFile &ini);
    void save(IniFile &ini);

    // Writes that reach the file at once.
    void writeGameType(IniFile &ini) const;
    void writeRanges(IniFile &ini) const;

    // The password prompt's section.
    void loadPassword(IniFile &ini);
    void savePassword(IniFile &ini) const;

private:
    void loadRanges(IniFile &ini, const QString &countText, const QString &checked);
    void writeRangeList(IniFile &ini, bool countWhenEmpty) const;

    static std::array<bool, GameFilterCount> filledShowGame()
    {
        std::array<bool, GameFilterCount> a{};
        a.fill(true);
        return a;
    }
};
