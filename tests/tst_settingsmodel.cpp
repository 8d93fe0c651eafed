#include "settings/inifile.h"
#include "settings/portnumber.h"
#include "settings/settingsmodel.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(data);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString rangesText(const SettingsModel &m)
{
    QStringList rows;
    for (const RangeRow &r : m.ranges)
        rows << QStringLiteral("%1:%2-%3").arg(r.checked ? 1 : 0).arg(r.from, r.to);
    return rows.join(u'|');
}

QString favoritesText(const SettingsModel &m)
{
    QStringList rows;
    for (const FavoriteRow &f : m.favorites)
        rows << f.host + u':' + f.port;
    return rows.join(u'|');
}

// The model's values by name, for the tables below.
QString field(const SettingsModel &m, const QString &name)
{
    const QHash<QString, QString> values = {
        {"gameType", QString::number(m.gameType)},
        {"height", QString::number(m.height)},
        {"curItem", QString::number(m.curItem)},
        {"curPage", QString::number(m.curPage)},
        {"favWidth", QString::number(m.favWidth)},
        {"delay", QString::number(m.delay)},
        {"updInterval", QString::number(m.updInterval)},
        {"transLevel", QString::number(m.transLevel)},
        {"broadcast", QString::number(m.broadcast)},
        {"lanPorts", QString::number(m.broadcastLanPorts)},
        {"param0", m.games[0].params},
        {"showCSP", QString::number(m.showGame[FilterCSP])},
        {"params", m.params.join(u'|')},
        {"ranges", rangesText(m)},
        {"favorites", favoritesText(m)},
        {"filter", QStringLiteral("%1|%2%3%4").arg(m.filterText).arg(m.hideEmpty).arg(m.hideFull).arg(m.hidePassword)},
    };
    Q_ASSERT(values.contains(name));
    return values.value(name);
}

// What the exit save writes for a model loaded from no file at all.
const QByteArray defaultFile =
    "[Ranges]\nChecked=\n\n"
    "[Settings]\nGameType=0\nHeight=351\nWidth=680\nTransLevel=255\nCSPort=27015\nTrans=0\n"
    "DoubleClick=1\nHLTVPort=27020\nBroadcast=1\nScanOld=1\nFavAutoScan=0\nUpdInterval=10\nDelay=0\n"
    "CurItem=0\nCurPage=0\nFavWidth=103\nCheckUpdates=1\nLastUpdateDate=\nSteamExePath=\n"
    "steam0=0\nsteam1=0\nsteam2=0\nsteam3=0\nsteam4=0\nsteam5=0\nsteam6=0\nsteam7=0\n"
    "steam8=0\nsteam9=0\nsteam10=0\nsteam11=0\nsteam12=0\nsteam13=0\nsteam14=0\n"
    "ExePath0=\nParam0=-console\nSteamParam0=-applaunch 10\n"
    "ExePath1=\nParam1=-steam -game hl2mp\nSteamParam1=-applaunch 220\n"
    "ExePath2=\nParam2=-game cstrike -console\nSteamParam2=-applaunch 10\n"
    "ExePath3=\nParam3=-game cstrike\nSteamParam3=-applaunch 10\n"
    "ExePath4=\nParam4=-game czero\nSteamParam4=-applaunch 80\n"
    "ExePath5=\nParam5=-steam -game cstrike -console\nSteamParam5=-applaunch 240\n"
    "ExePath6=\nParam6=-steam -game cspromod\nSteamParam6=-applaunch 240\n"
    "ExePath7=\nParam7=-game dod\nSteamParam7=-applaunch 30\n"
    "ExePath8=\nParam8=-game dod\nSteamParam8=-applaunch 300\n"
    "ExePath9=\nParam9=-game tfc\nSteamParam9=-applaunch 20\n"
    "ExePath10=\nParam10=-game tf\nSteamParam10=-applaunch 440\n"
    "ExePath11=\nParam11=-game gmod\nSteamParam11=-applaunch 4000\n"
    "ExePath12=\nParam12=-game dmc\nSteamParam12=-applaunch 40\n"
    "ExePath13=\nParam13=-game rc\nSteamParam13=-applaunch 60\n"
    "ExePath14=\nParam14=-game left4dead\nSteamParam14=-applaunch 500\n"
    "FilterText=\nHideEmpty=0\nHideFull=0\nHidePassword=0\nBroadcastLanPorts=1\n\n"
    "[Games]\nHL1=1\nHL2=1\nCS15=1\nCS16=1\nCSS=1\nCZ=1\nDOD=1\nDODS=1\nGMOD=1\nTF=1\nTF2=1\nDMC=1\n"
    "CSP=1\nRC=1\nL4D=1\n\n"
    "[Params]\n-console=\n-nointo=\n-steam=\n-full=\n-win=\n-noip=\n-noipx=\n-freq 100=\n-freq 75=\n"
    "-noforcemparms=\n-noforcemaccel=\n-noforcemspd=\n";

} // namespace

class TestSettingsModel : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); m_path = m_dir.filePath(QStringLiteral("vantor.ini")); }
    void cleanup() { QFile::remove(m_path); }

    void startWithoutFile();
    void load_data();
    void load();
    void favoritesRenumberedOnSave();
    void emptyRangeListSave();
    void saveKeepsGamesAndPassword();
    void roundTrip();
    void rangeCountNotANumber();
    void immediateWrites();
    void saveFailurePropagates();
    void parsePort_data();
    void parsePort();

private:
    QTemporaryDir m_dir;
    QString m_path;
};

void TestSettingsModel::startWithoutFile()
{
    IniFile ini(m_path);
    SettingsModel m;
    m.load(ini);
    QCOMPARE(m.delay, 0); // not the 5 shown before the load
    QVERIFY(!m.favFirstTickPending);
    QVERIFY(m.loadWarnings.isEmpty());

    // The saved file shows every value that the load gave.
    m.save(ini);
    QCOMPARE(readFile(m_path), defaultFile);
}

void TestSettingsModel::load_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");

    QTest::newRow("UpdInterval 3 keeps 10") << QByteArray("[Settings]\nUpdInterval=3\n") << "updInterval" << "10";
    QTest::newRow("UpdInterval 90 shows 60") << QByteArray("[Settings]\nUpdInterval=90\n") << "updInterval" << "60";
    QTest::newRow("Delay above 30") << QByteArray("[Settings]\nDelay=45\n") << "delay" << "30";
    QTest::newRow("delay in lower case") << QByteArray("[settings]\ndelay=7\n") << "delay" << "7";
    QTest::newRow("TransLevel low 8 bits") << QByteArray("[Settings]\nTransLevel=511\n") << "transLevel" << "255";
    QTest::newRow("TransLevel 256") << QByteArray("[Settings]\nTransLevel=256\n") << "transLevel" << "0";
    QTest::newRow("FavWidth below 70") << QByteArray("[Settings]\nFavWidth=20\n") << "favWidth" << "70";
    QTest::newRow("FavWidth above 110") << QByteArray("[Settings]\nFavWidth=200\n") << "favWidth" << "110";
    QTest::newRow("CurItem 15") << QByteArray("[Settings]\nCurItem=15\n") << "curItem" << "0";
    QTest::newRow("CurPage 4") << QByteArray("[Settings]\nCurPage=4\n") << "curPage" << "0";
    QTest::newRow("window minimum height") << QByteArray("[Settings]\nHeight=100\n") << "height" << "175";
    QTest::newRow("HLTV port choice") << QByteArray("[Settings]\nGameType=1\n") << "gameType" << "1";
    QTest::newRow("boolean that is no number") << QByteArray("[Settings]\nBroadcast=no\n") << "broadcast" << "1";
    QTest::newRow("LAN ports off") << QByteArray("[Settings]\nBroadcastLanPorts=0\n") << "lanPorts" << "0";
    QTest::newRow("LAN ports by default") << QByteArray("[Settings]\nBroadcast=0\n") << "lanPorts" << "1";
    QTest::newRow("Param empty") << QByteArray("[Settings]\nParam0=\n") << "param0" << "";
    QTest::newRow("game filter off") << QByteArray("[Games]\nCSP=0\n") << "showCSP" << "0";
    QTest::newRow("Params without keys") << QByteArray("[Params]\n")
                                         << "params" << SettingsModel::defaultParamsList().join(u'|');
    QTest::newRow("Params with one key") << QByteArray("[Params]\n-game cstrike=\n") << "params" << "-game cstrike";
    QTest::newRow("Checked shorter than the count")
        << QByteArray("[Ranges]\nRanges=2\nChecked=1\nRangeFrom0=10.0.0.1\nRangeTo0=10.0.0.9\n")
        << "ranges" << "1:10.0.0.1-10.0.0.9|0:-";
    QTest::newRow("count decides, not the keys")
        << QByteArray("[Ranges]\nRanges=1\nChecked=11\nRangeFrom0=a\nRangeTo0=b\nRangeFrom1=c\nRangeTo1=d\n")
        << "ranges" << "1:a-b";
    QTest::newRow("negative count") << QByteArray("[Ranges]\nRanges=-1\nRangeFrom0=a\n") << "ranges" << "";
    QTest::newRow("favourites of one host")
        << QByteArray("[Favorites]\n10.0.0.5 3=27020\n10.0.0.5 4=27015\nsolo=\n")
        << "favorites" << "10.0.0.5:27020|10.0.0.5:27015|solo:";
    QTest::newRow("filter keys") << QByteArray("[Settings]\nFilterText=dust\nHideFull=1\nHidePassword=1\n")
                                 << "filter" << "dust|011";
}

void TestSettingsModel::load()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, field);
    QFETCH(QString, expected);
    writeFile(m_path, content);
    IniFile ini(m_path);
    SettingsModel m;
    m.load(ini);
    QCOMPARE(::field(m, field), expected);
}

void TestSettingsModel::favoritesRenumberedOnSave()
{
    writeFile(m_path, "[Favorites]\n10.0.0.5 3=27020\n10.0.0.5 4=27015\n");
    IniFile ini(m_path);
    SettingsModel m;
    m.load(ini);
    m.save(ini);
    QCOMPARE(ini.readSection(QStringLiteral("Favorites")), (QStringList{"10.0.0.5 0", "10.0.0.5 1"}));
    QCOMPARE(ini.readString(QStringLiteral("Favorites"), QStringLiteral("10.0.0.5 0"), QString()), QStringLiteral("27020"));
}

void TestSettingsModel::emptyRangeListSave()
{
    writeFile(m_path, "[Ranges]\nRanges=1\nRangeFrom0=a\nRangeTo0=b\nChecked=1\n");
    IniFile ini(m_path);
    SettingsModel m;
    m.load(ini);
    QCOMPARE(m.ranges.size(), 1);
    m.ranges.clear();
    m.save(ini);
    QCOMPARE(ini.readSection(QStringLiteral("Ranges")), QStringList{"Checked"});
    QCOMPARE(ini.readString(QStringLiteral("Ranges"), QStringLiteral("Checked"), QStringLiteral("x")), QString());
    SettingsModel next;
    next.load(ini);
    QVERIFY(next.ranges.isEmpty());
}

void TestSettingsModel::saveKeepsGamesAndPassword()
{
    writeFile(m_path, "[Password]\nLastPass=secret\n[Games]\nExtra=5\n[Settings]\nStale=1\n[Params]\n-old=\n");
    IniFile ini(m_path);
    SettingsModel m;
    m.load(ini);
    m.params = QStringList{"-new"};
    m.save(ini);
    QCOMPARE(ini.readString(QStringLiteral("Password"), QStringLiteral("LastPass"), QString()), QStringLiteral("secret"));
    QCOMPARE(ini.readInteger(QStringLiteral("Games"), QStringLiteral("Extra"), 0), 5);
    QVERIFY(!ini.valueExists(QStringLiteral("Settings"), QStringLiteral("Stale")));
    QCOMPARE(ini.readSection(QStringLiteral("Params")), QStringList{"-new"});
}

void TestSettingsModel::roundTrip()
{
    SettingsModel m;
    m.gameType = 1;
    for (int i = 0; i < LaunchGameCount; ++i) {
        m.games[i].exePath = QStringLiteral("C:/Games/g%1/hl.exe").arg(i);
        m.games[i].params = QStringLiteral("-game x%1").arg(i);
        m.games[i].steamParams = i % 2 ? QString() : QStringLiteral("-applaunch %1").arg(i);
        m.games[i].steam = i % 3 == 0;
    }
    m.steamExePath = QStringLiteral("C:/Steam/steam.exe");
    m.height = 500;
    m.width = 900;
    m.curItem = 14;
    m.csPort = QStringLiteral("27016");
    m.favWidth = 70;
    m.hltvPort = QStringLiteral("27021");
    m.scanOld = false;
    m.delay = 30;
    m.trans = true;
    m.favAutoScan = true;
    m.updInterval = 60;
    m.curPage = 3;
    m.broadcast = false;
    m.transLevel = 128;
    m.doubleClick = false;
    m.checkUpdates = false;
    m.lastUpdateDate = QStringLiteral("08.12.2024");
    m.filterText = QStringLiteral("de_ d\u00FCst");
    m.hideEmpty = true;
    m.hideFull = true;
    m.hidePassword = true;
    for (int g = 0; g < GameFilterCount; ++g)
        m.showGame[g] = g % 2 == 0;
    m.params = QStringList{"-win", "-freq 100", QStringLiteral("-name J\u00FCrgen")};
    m.ranges = {{true, "10.0.0.1", "10.0.0.255"}, {false, "192.168.1.1", "192.168.1.20"}, {true, "", ""}};
    m.favorites = {{"10.0.0.5", "27015"}, {"host.lan", "27020"}, {"10.0.0.5", "27016"}};
    m.showPass = true;
    m.lastPass = QStringLiteral("p\u00E4ss word");

    IniFile ini(m_path);
    m.savePassword(ini);
    m.save(ini);

    // Every value above differs from its default, so a value lost on the way
    // makes the second file differ from the first.
    IniFile again(m_path);
    SettingsModel r;
    r.load(again);
    r.loadPassword(again);
    QVERIFY(r.favFirstTickPending);
    const QString copyPath = m_dir.filePath(QStringLiteral("copy.ini"));
    IniFile copy(copyPath);
    r.savePassword(copy);
    r.save(copy);
    QCOMPARE(readFile(copyPath), readFile(m_path));
    QFile::remove(copyPath);
}

void TestSettingsModel::rangeCountNotANumber()
{
    writeFile(m_path, "[Ranges]\nRanges=two\nChecked=101\nRangeFrom0=10.0.0.1\nRangeTo0=10.0.0.9\n"
                      "RangeFrom1=10.1.0.1\nRangeTo2=10.2.0.9\nRangeFrom4=lost\n"
                      "[Favorites]\nhost 0=27016\n");
    IniFile ini(m_path);
    SettingsModel m;
    m.load(ini);
    QCOMPARE(rangesText(m), QStringLiteral("1:10.0.0.1-10.0.0.9|0:10.1.0.1-|1:-10.2.0.9"));
    QCOMPARE(favoritesText(m), QStringLiteral("host:27016"));
    QCOMPARE(m.loadWarnings, QStringList{"The range count in vantor.ini is not a number; read 3 ranges."});

    m.save(ini);
    QCOMPARE(ini.readInteger(QStringLiteral("Ranges"), QStringLiteral("Ranges"), -1), 3);
    SettingsModel next;
    next.load(ini);
    QCOMPARE(next.ranges, m.ranges);
    QVERIFY(next.loadWarnings.isEmpty());
}

void TestSettingsModel::immediateWrites()
{
    writeFile(m_path, "[Ranges]\nRanges=4\nRangeFrom3=stale\n");
    IniFile ini(m_path);
    SettingsModel m;
    m.gameType = 1;
    m.writeGameType(ini);
    QVERIFY(readFile(m_path).contains("[Settings]\nGameType=1\n"));

    m.ranges = {{true, "a", "b"}, {false, "c", "d"}};
    m.writeRanges(ini);
    QCOMPARE(readFile(m_path),
             QByteArray("[Ranges]\nRanges=2\nRangeFrom3=stale\nRangeFrom0=a\nRangeTo0=b\nRangeFrom1=c\nRangeTo1=d\n"
                        "Checked=10\n\n[Settings]\nGameType=1\n"));

    m.ranges.clear();
    m.writeRanges(ini);
    IniFile fresh(m_path);
    QCOMPARE(fresh.readString(QStringLiteral("Ranges"), QStringLiteral("Ranges"), QString()), QStringLiteral("0"));
    QCOMPARE(fresh.readString(QStringLiteral("Ranges"), QStringLiteral("Checked"), QStringLiteral("x")), QString());
    QVERIFY(fresh.valueExists(QStringLiteral("Ranges"), QStringLiteral("RangeFrom3")));
}

void TestSettingsModel::saveFailurePropagates()
{
    writeFile(m_dir.filePath(QStringLiteral("plain.txt")), "x");
    IniFile ini(m_dir.filePath(QStringLiteral("plain.txt/vantor.ini")));
    SettingsModel m;
    m.load(ini);
    QVERIFY_THROWS_EXCEPTION(IniWriteError, m.save(ini));
    QVERIFY_THROWS_EXCEPTION(IniWriteError, m.writeRanges(ini));
    QVERIFY_THROWS_EXCEPTION(IniWriteError, m.writeGameType(ini));
}

void TestSettingsModel::parsePort_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected"); // -1: no port

    QTest::newRow("game port") << "27015" << 27015;
    QTest::newRow("lowest") << "1" << 1;
    QTest::newRow("highest") << "65535" << 65535;
    QTest::newRow("zero") << "0" << -1;
    QTest::newRow("above 16 bits") << "65536" << -1;
    QTest::newRow("negative") << "-27015" << -1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("trailing letters") << "27015a" << -1;
    QTest::newRow("hexadecimal") << "0x6987" << -1;
}

void TestSettingsModel::parsePort()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    const std::optional<quint16> port = ::parsePort(text);
    QCOMPARE(port ? int(*port) : -1, expected);
}

QTEST_GUILESS_MAIN(TestSettingsModel)
#include "tst_settingsmodel.moc"
