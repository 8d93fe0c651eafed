#include "settings/settingsmodel.h"

#include "settings/inifile.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString SettingsSection = QStringLiteral("Settings");
const QString RangesSection = QStringLiteral("Ranges");
const QString GamesSection = QStringLiteral("Games");
const QString ParamsSection = QStringLiteral("Params");
const QString FavoritesSection = QStringLiteral("Favorites");
const QString PasswordSection = QStringLiteral("Password");

// Keys of the Games section, indexed by GameFilter.
const char *const gameKeys[GameFilterCount] = {
    "HL1", "HL2", "CS15", "CS16", "CSS", "CSP", "CZ",
    "DOD", "DODS", "GMOD", "TF", "TF2", "DMC", "RC", "L4D",
};

// The order in which the exit save writes the Games keys.
const GameFilter gameSaveOrder[GameFilterCount] = {
    FilterHL1, FilterHL2, FilterCS15, FilterCS16, FilterCSS, FilterCZ, FilterDOD, FilterDODS,
    FilterGMOD, FilterTF, FilterTF2, FilterDMC, FilterCSP, FilterRC, FilterL4D,
};

// Limits that the controls holding these values keep.
constexpr int MinWindowHeight = 175;
constexpr int MinWindowWidth = 680;
constexpr int MaxDelay = 30;
constexpr int MinUpdInterval = 5;
constexpr int MaxUpdInterval = 60;
constexpr int MinFavWidth = 70;
constexpr int MaxFavWidth = 110;
constexpr int PageCount = 4;

QString indexed(const char *key, int index)
{
    return QLatin1String(key) + QString::number(index);
}

// An index that selects nothing becomes the first item.
int validIndexOrZero(int value, int count)
{
    return value >= 0 && value < count ? value : 0;
}

} // namespace

QStringList SettingsModel::defaultParamsList()
{
    return {
        QStringLiteral("-console"), QStringLiteral("-nointo"), QStringLiteral("-steam"),
        QStringLiteral("-full"), QStringLiteral("-win"), QStringLiteral("-noip"),
        QStringLiteral("-noipx"), QStringLiteral("-freq 100"), QStringLiteral("-freq 75"),
        QStringLiteral("-noforcemparms"), QStringLiteral("-noforcemaccel"),
        QStringLiteral("-noforcemspd"),
    };
}

void SettingsModel::load(IniFile &ini)
{
    // The file keeps the last password from here on, whoever made it.
    ini.protectValue(PasswordSection, QStringLiteral("LastPass"));
    // One look at the file for the whole load.
    ini.beginBatch();
    loadWarnings.clear();

    gameType = ini.readInteger(SettingsSection, QStringLiteral("GameType"), 0);

    for (int i = 0; i < LaunchGameCount; ++i)
        games[i].exePath = ini.readString(SettingsSection, indexed("ExePath", i), QString());
    for (int i = 0; i < LaunchGameCount; ++i) {
        QString plain;
        QString steam;
        defaultParams(i, plain);
        defaultSteamParams(i, steam);
        games[i].params = ini.readString(SettingsSection, indexed("Param", i), plain);
        games[i].steamParams = ini.readString(SettingsSection, indexed("SteamParam", i), steam);
    }
    for (int i = 0; i < LaunchGameCount; ++i)
        games[i].steam = ini.readBool(SettingsSection, indexed("steam", i), false);
    steamExePath = ini.readString(SettingsSection, QStringLiteral("SteamExePath"), QString());

    height = std::max(MinWindowHeight, ini.readInteger(SettingsSection, QStringLiteral("Height"), 351));
    width = std::max(MinWindowWidth, ini.readInteger(SettingsSection, QStringLiteral("Width"), 680));

    curItem = validIndexOrZero(ini.readInteger(SettingsSection, QStringLiteral("CurItem"), 0), LaunchGameCount);

    csPort = ini.readString(SettingsSection, QStringLiteral("CSPort"), QStringLiteral("27015"));
    favWidth = std::clamp(ini.readInteger(SettingsSection, QStringLiteral("FavWidth"), 103), MinFavWidth, MaxFavWidth);
    hltvPort = ini.readString(SettingsSection, QStringLiteral("HLTVPort"), QStringLiteral("27020"));

    const QString rangeCountText = ini.readString(RangesSection, QStringLiteral("Ranges"), QStringLiteral("0"));
    const QString checked = ini.readString(RangesSection, QStringLiteral("Checked"), QStringLiteral("0"));

    scanOld = ini.readBool(SettingsSection, QStringLiteral("ScanOld"), true);
    delay = std::clamp(ini.readInteger(SettingsSection, QStringLiteral("Delay"), 0), 0, MaxDelay);
    trans = ini.readBool(SettingsSection, QStringLiteral("Trans"), false);

    favAutoScan = ini.readBool(SettingsSection, QStringLiteral("FavAutoScan"), false);
    const int interval = ini.readInteger(SettingsSection, QStringLiteral("UpdInterval"), 10);
    if (interval >= MinUpdInterval)
        updInterval = std::min(interval, MaxUpdInterval);
    favFirstTickPending = favAutoScan;

    curPage = validIndexOrZero(ini.readInteger(SettingsSection, QStringLiteral("CurPage"), 0), PageCount);
    broadcast = ini.readBool(SettingsSection, QStringLiteral("Broadcast"), true);
    transLevel = ini.readInteger(SettingsSection, QStringLiteral("TransLevel"), 255) & 0xFF;
    doubleClick = ini.readBool(SettingsSection, QStringLiteral("DoubleClick"), true);

    checkUpdates = ini.readBool(SettingsSection, QStringLiteral("CheckUpdates"), true);
    lastUpdateDate = ini.readString(SettingsSection, QStringLiteral("LastUpdateDate"), QString());
    filterText = ini.readString(SettingsSection, QStringLiteral("FilterText"), QString());
    hideEmpty = ini.readBool(SettingsSection, QStringLiteral("HideEmpty"), false);
    hideFull = ini.readBool(SettingsSection, QStringLiteral("HideFull"), false);
    hidePassword = ini.readBool(SettingsSection, QStringLiteral("HidePassword"), false);
    broadcastLanPorts = ini.readBool(SettingsSection, QStringLiteral("BroadcastLanPorts"), true);
    language = readLanguage(ini);

    for (int g = 0; g < GameFilterCount; ++g)
        showGame[g] = ini.readBool(GamesSection, QLatin1String(gameKeys[g]), true);

    params = ini.readSection(ParamsSection);
    if (params.isEmpty())
        params = defaultParamsList();

    loadRanges(ini, rangeCountText, checked);

    favorites.clear();
    for (const QString &key : ini.readSection(FavoritesSection)) {
        const QString port = ini.readString(FavoritesSection, key, QStringLiteral("27015"));
        favorites.append({key.section(u' ', 0, 0), port});
    }

    ini.endBatch();
}

void SettingsModel::loadRanges(IniFile &ini, const QString &countText, const QString &checked)
{
    ranges.clear();
    const auto addRow = [&](int k) {
        ranges.append({checked.size() > k && checked[k] == u'1',
                       ini.readString(RangesSection, indexed("RangeFrom", k), QString()),
                       ini.readString(RangesSection, indexed("RangeTo", k), QString())});
    };

    int count = 0;
    if (IniFile::parseInteger(countText, &count)) {
        for (int k = 0; k < count; ++k)
            addRow(k);
        return;
    }
    // A count that is no number: take the rows that are there rather than lose
    // them at the next save, which writes a proper count again.
    for (int k = 0; ini.valueExists(RangesSection, indexed("RangeFrom", k))
                    || ini.valueExists(RangesSection, indexed("RangeTo", k));
         ++k)
        addRow(k);
    loadWarnings.append(QCoreApplication::translate("SettingsDialog",
                                                    "The range count in %1 is not a number; read %n ranges.", nullptr,
                                                    int(ranges.size()))
                            .arg(QFileInfo(ini.path()).fileName()));
}

void SettingsModel::save(IniFile &ini)
{
    // One disk write at the end: quick, and the file is never left half written.
    ini.beginBatch();

    ini.eraseSection(SettingsSection);
    ini.eraseSection(RangesSection);
    ini.eraseSection(FavoritesSection);
    ini.eraseSection(ParamsSection);

    writeRangeList(ini, false);

    ini.writeInteger(SettingsSection, QStringLiteral("GameType"), gameType);
    ini.writeInteger(SettingsSection, QStringLiteral("Height"), height);
    ini.writeInteger(SettingsSection, QStringLiteral("Width"), width);
    ini.writeInteger(SettingsSection, QStringLiteral("TransLevel"), transLevel);
    ini.writeString(SettingsSection, QStringLiteral("CSPort"), csPort);
    ini.writeBool(SettingsSection, QStringLiteral("Trans"), trans);
    ini.writeBool(SettingsSection, QStringLiteral("DoubleClick"), doubleClick);
    ini.writeString(SettingsSection, QStringLiteral("HLTVPort"), hltvPort);
    ini.writeBool(SettingsSection, QStringLiteral("Broadcast"), broadcast);
    ini.writeBool(SettingsSection, QStringLiteral("ScanOld"), scanOld);
    ini.writeBool(SettingsSection, QStringLiteral("FavAutoScan"), favAutoScan);
    ini.writeInteger(SettingsSection, QStringLiteral("UpdInterval"), updInterval);
    ini.writeInteger(SettingsSection, QStringLiteral("Delay"), delay);
    ini.writeInteger(SettingsSection, QStringLiteral("CurItem"), curItem);
    ini.writeInteger(SettingsSection, QStringLiteral("CurPage"), curPage);
    ini.writeInteger(SettingsSection, QStringLiteral("FavWidth"), favWidth);
    ini.writeBool(SettingsSection, QStringLiteral("CheckUpdates"), checkUpdates);
    ini.writeString(SettingsSection, QStringLiteral("LastUpdateDate"), lastUpdateDate);

    for (GameFilter g : gameSaveOrder)
        ini.writeBool(GamesSection, QLatin1String(gameKeys[g]), showGame[g]);

    ini.writeString(SettingsSection, QStringLiteral("SteamExePath"), steamExePath);
    for (int i = 0; i < LaunchGameCount; ++i)
        ini.writeBool(SettingsSection, indexed("steam", i), games[i].steam);

    for (const QString &entry : params)
        ini.writeString(ParamsSection, entry, QString());

    for (int i = 0; i < LaunchGameCount; ++i) {
        ini.writeString(SettingsSection, indexed("ExePath", i), games[i].exePath);
        ini.writeString(SettingsSection, indexed("Param", i), games[i].params);
        ini.writeString(SettingsSection, indexed("SteamParam", i), games[i].steamParams);
    }
    // Keys added later come last, so files written before keep their order.
    ini.writeString(SettingsSection, QStringLiteral("FilterText"), filterText);
    ini.writeBool(SettingsSection, QStringLiteral("HideEmpty"), hideEmpty);
    ini.writeBool(SettingsSection, QStringLiteral("HideFull"), hideFull);
    ini.writeBool(SettingsSection, QStringLiteral("HidePassword"), hidePassword);
    ini.writeBool(SettingsSection, QStringLiteral("BroadcastLanPorts"), broadcastLanPorts);
    // Written only once chosen: a file of a user who never chose stays as it was.
    if (!language.isEmpty())
        ini.writeString(SettingsSection, QStringLiteral("Language"), language);

    for (int k = 0; k < favorites.size(); ++k)
        ini.writeString(FavoritesSection, favorites[k].host + u' ' + QString::number(k), favorites[k].port);

    ini.endBatch();
}

QString SettingsModel::readLanguage(IniFile &ini)
{
    return ini.readString(SettingsSection, QStringLiteral("Language"), QString()).trimmed();
}

void SettingsModel::writeGameType(IniFile &ini) const
{
    ini.writeInteger(SettingsSection, QStringLiteral("GameType"), gameType);
}

void SettingsModel::writeRanges(IniFile &ini) const
{
    ini.beginBatch();
    writeRangeList(ini, true);
    ini.endBatch();
}

void SettingsModel::writeRangeList(IniFile &ini, bool countWhenEmpty) const
{
    if (countWhenEmpty || !ranges.isEmpty())
        ini.writeInteger(RangesSection, QStringLiteral("Ranges"), ranges.size());
    QString checked;
    for (int k = 0; k < ranges.size(); ++k) {
        ini.writeString(RangesSection, indexed("RangeFrom", k), ranges[k].from);
        ini.writeString(RangesSection, indexed("RangeTo", k), ranges[k].to);
        checked += ranges[k].checked ? u'1' : u'0';
    }
    ini.writeString(RangesSection, QStringLiteral("Checked"), checked);
}

void SettingsModel::loadPassword(IniFile &ini)
{
    showPass = ini.readBool(PasswordSection, QStringLiteral("ShowPass"), false);
    lastPass = ini.readString(PasswordSection, QStringLiteral("LastPass"), QString());
}

void SettingsModel::savePassword(IniFile &ini) const
{
    // The section holds nothing but these two keys afterwards.
    ini.beginBatch();
    ini.eraseSection(PasswordSection);
    ini.writeString(PasswordSection, QStringLiteral("LastPass"), lastPass);
    ini.writeBool(PasswordSection, QStringLiteral("ShowPass"), showPass);
    ini.endBatch();
}
