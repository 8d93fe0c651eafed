#include "settings/settingsmodel.h"

#include "settings/inifile.h"
#include "settings/settingkeys.h"
#include "settings/windowlimits.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <limits>

namespace {

const QString SettingsSection = QStringLiteral("Settings");
const QString RangesSection = QStringLiteral("Ranges");
const QString GamesSection = QStringLiteral("Games");
const QString ParamsSection = QStringLiteral("Params");
const QString FavoritesSection = QStringLiteral("Favorites");
const QString PasswordSection = QStringLiteral("Password");

const QString RangeCountKey = QStringLiteral("Ranges");
const QString RangeCheckedKey = QStringLiteral("Checked");
const char *const RangeFromPrefix = "RangeFrom";
const char *const RangeToPrefix = "RangeTo";

// A favourite's port when its key has no value.
const QString FavoriteDefaultPort = QStringLiteral("27015");

constexpr int PageCount = 4;
constexpr int Unbounded = std::numeric_limits<int>::max();

// Keys that are also read or written on their own.
const IntKey gameTypeKey{"GameType", &SettingsModel::gameType, 0};
const TextKey languageKey{"Language", &SettingsModel::language, "", TextKey::Choice};
const TextKey lastPassKey{"LastPass", &SettingsModel::lastPass};

// The Settings section. The ranges are those that the controls showing the
// values keep. Keys added later come last, so files written before keep their order.
const KeyTable settingsKeys{SettingsSection, {
    gameTypeKey,
    IntKey{"Height", &SettingsModel::height, 351, OutOfRange::Clamped, MainWindowMinHeight, Unbounded},
    IntKey{"Width", &SettingsModel::width, 680, OutOfRange::Clamped, MainWindowMinWidth, Unbounded},
    IntKey{"TransLevel", &SettingsModel::transLevel, 255, OutOfRange::LowByte},
    TextKey{"CSPort", &SettingsModel::csPort, "27015"},
    BoolKey{"Trans", &SettingsModel::trans, false},
    BoolKey{"DoubleClick", &SettingsModel::doubleClick, true},
    TextKey{"HLTVPort", &SettingsModel::hltvPort, "27020"},
    BoolKey{"Broadcast", &SettingsModel::broadcast, true},
    BoolKey{"ScanOld", &SettingsModel::scanOld, true},
    BoolKey{"FavAutoScan", &SettingsModel::favAutoScan, false},
    IntKey{"UpdInterval", &SettingsModel::updInterval, 10, OutOfRange::KeptBelow, 5, 60},
    IntKey{"Delay", &SettingsModel::delay, 0, OutOfRange::Clamped, 0, 30},
    IntKey{"CurItem", &SettingsModel::curItem, 0, OutOfRange::Default, 0, LaunchGameCount - 1},
    IntKey{"CurPage", &SettingsModel::curPage, 0, OutOfRange::Default, 0, PageCount - 1},
    IntKey{"FavWidth", &SettingsModel::favWidth, 103, OutOfRange::Clamped, 70, 110},
    BoolKey{"CheckUpdates", &SettingsModel::checkUpdates, true},
    TextKey{"LastUpdateDate", &SettingsModel::lastUpdateDate},
    TextKey{"SteamExePath", &SettingsModel::steamExePath},
    LaunchKeys{{{"steam", &LaunchEntry::steam}}},
    LaunchKeys{{{"ExePath", &LaunchEntry::exePath},
                {"Param", &LaunchEntry::params},
                {"SteamParam", &LaunchEntry::steamParams}}},
    TextKey{"FilterText", &SettingsModel::filterText},
    BoolKey{"HideEmpty", &SettingsModel::hideEmpty, false},
    BoolKey{"HideFull", &SettingsModel::hideFull, false},
    BoolKey{"HidePassword", &SettingsModel::hidePassword, false},
    BoolKey{"BroadcastLanPorts", &SettingsModel::broadcastLanPorts, true},
    languageKey,
}};

const KeyTable passwordKeys{PasswordSection, {
    lastPassKey,
    BoolKey{"ShowPass", &SettingsModel::showPass, false},
}};

// The "Show only" filters in the order the save writes them; each is on by default.
const struct
{
    GameFilter filter;
    const char *name;
} gameKeys[GameFilterCount] = {
    {FilterHL1, "HL1"}, {FilterHL2, "HL2"}, {FilterCS15, "CS15"}, {FilterCS16, "CS16"}, {FilterCSS, "CSS"},
    {FilterCZ, "CZ"}, {FilterDOD, "DOD"}, {FilterDODS, "DODS"}, {FilterGMOD, "GMOD"}, {FilterTF, "TF"},
    {FilterTF2, "TF2"}, {FilterDMC, "DMC"}, {FilterCSP, "CSP"}, {FilterRC, "RC"}, {FilterL4D, "L4D"},
};

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
    ini.protectValue(PasswordSection, QLatin1String(lastPassKey.name));
    // One look at the file for the whole load.
    ini.beginBatch();
    loadWarnings.clear();

    settingsKeys.load(ini, *this);
    favFirstTickPending = favAutoScan;

    for (const auto &key : gameKeys)
        showGame[key.filter] = ini.readBool(GamesSection, QLatin1String(key.name), true);

    params = ini.readSection(ParamsSection);
    if (params.isEmpty())
        params = defaultParamsList();

    loadRanges(ini, ini.readString(RangesSection, RangeCountKey, QStringLiteral("0")),
               ini.readString(RangesSection, RangeCheckedKey, QStringLiteral("0")));

    favorites.clear();
    for (const QString &key : ini.readSection(FavoritesSection)) {
        const QString port = ini.readString(FavoritesSection, key, FavoriteDefaultPort);
        favorites.append({key.section(u' ', 0, 0), port});
    }

    ini.endBatch();
}

void SettingsModel::loadRanges(IniFile &ini, const QString &countText, const QString &checked)
{
    ranges.clear();
    const auto addRow = [&](int k) {
        ranges.append({checked.size() > k && checked[k] == u'1',
                       ini.readString(RangesSection, indexedKey(RangeFromPrefix, k), QString()),
                       ini.readString(RangesSection, indexedKey(RangeToPrefix, k), QString())});
    };

    int count = 0;
    if (IniFile::parseInteger(countText, &count)) {
        for (int k = 0; k < count; ++k)
            addRow(k);
        return;
    }
    // A count that is no number: take the rows that are there rather than lose
    // them at the next save, which writes a proper count again.
    for (int k = 0; ini.valueExists(RangesSection, indexedKey(RangeFromPrefix, k))
                    || ini.valueExists(RangesSection, indexedKey(RangeToPrefix, k));
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
    settingsKeys.save(ini, *this);

    for (const auto &key : gameKeys)
        ini.writeBool(GamesSection, QLatin1String(key.name), showGame[key.filter]);

    for (const QString &entry : params)
        ini.writeString(ParamsSection, entry, QString());

    for (int k = 0; k < favorites.size(); ++k)
        ini.writeString(FavoritesSection, favorites[k].host + u' ' + QString::number(k), favorites[k].port);

    ini.endBatch();
}

QString SettingsModel::readLanguage(IniFile &ini)
{
    return languageKey.read(ini, SettingsSection);
}

void SettingsModel::writeGameType(IniFile &ini) const
{
    gameTypeKey.save(ini, SettingsSection, *this);
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
        ini.writeInteger(RangesSection, RangeCountKey, ranges.size());
    QString checked;
    for (int k = 0; k < ranges.size(); ++k) {
        ini.writeString(RangesSection, indexedKey(RangeFromPrefix, k), ranges[k].from);
        ini.writeString(RangesSection, indexedKey(RangeToPrefix, k), ranges[k].to);
        checked += ranges[k].checked ? u'1' : u'0';
    }
    ini.writeString(RangesSection, RangeCheckedKey, checked);
}

void SettingsModel::loadPassword(IniFile &ini)
{
    passwordKeys.load(ini, *this);
}

void SettingsModel::savePassword(IniFile &ini) const
{
    // The section holds nothing but its keys afterwards.
    ini.beginBatch();
    ini.eraseSection(PasswordSection);
    passwordKeys.save(ini, *this);
    ini.endBatch();
}
