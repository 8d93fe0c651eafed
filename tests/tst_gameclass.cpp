#include "scan/gameclass.h"
#include "scan/listicons.h"
#include "settings/settingsmodel.h"

#include <QtTest>

class TestGameClass : public QObject
{
    Q_OBJECT

private slots:
    void classify_data()
    {
        QTest::addColumn<QString>("gameDir");
        QTest::addColumn<QString>("description");
        QTest::addColumn<int>("protocol");
        QTest::addColumn<QString>("proxy");
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("filter");
        QTest::addColumn<int>("icon");

        const QString none;
        QTest::newRow("cs source") << "cstrike" << "Counter-Strike: Source" << 48 << none << "CSS" << int(FilterCSS) << 14;
        QTest::newRow("cs source beats proxy") << "cstrike" << "SourceTV" << 46 << "1" << "CSS" << int(FilterCSS) << 14;
        QTest::newRow("cs source lower case") << "cstrike" << "counter-strike: source" << 48 << none << "1.6" << int(FilterCS16) << 12;
        QTest::newRow("cs source lower case, old") << "cstrike" << "counter-strike: source" << 46 << none << "1.5" << int(FilterCS15) << 12;
        QTest::newRow("cs 47") << "cstrike" << "Counter-Strike" << 47 << none << "1.6" << int(FilterCS16) << 12;
        QTest::newRow("cs 46") << "cstrike" << "Counter-Strike" << 46 << none << "1.5" << int(FilterCS15) << 12;
        QTest::newRow("cs hltv") << "cstrike" << "HLTV" << 48 << none << "1.6" << int(FilterCS16) << 15;
        QTest::newRow("cs proxy 1") << "cstrike" << "Counter-Strike" << 46 << "1" << "1.5" << int(FilterCS15) << 15;
        QTest::newRow("cs proxy 0") << "cstrike" << "Counter-Strike" << 48 << "0" << "1.6" << int(FilterCS16) << 12;
        QTest::newRow("czero") << "czero" << "Condition Zero" << 48 << none << "CZ" << int(FilterCZ) << 16;
        QTest::newRow("valve hltv") << "valve" << "HLTV" << 47 << none << "1.6" << int(FilterCS16) << 15;
        QTest::newRow("valve old proxy") << "valve" << "Half-Life" << 46 << "1" << "1.5" << int(FilterCS15) << 15;
        QTest::newRow("valve hltv before demo") << "valve" << "HLTV" << 40 << "1" << "1.5" << int(FilterCS15) << 15;
        QTest::newRow("valve demo") << "valve" << "Demo Playback" << 48 << none << "1.6" << int(FilterCS16) << 18;
        QTest::newRow("valve demo old") << "valve" << "Demo Playback" << 46 << none << "1.5" << int(FilterCS15) << 18;
        QTest::newRow("valve demo other case") << "valve" << "Demo playback" << 48 << none << "HL" << int(FilterHL1) << 13;
        QTest::newRow("half-life") << "valve" << "Half-Life" << 48 << none << "HL" << int(FilterHL1) << 13;
        QTest::newRow("dod") << "dod" << "Day of Defeat" << 48 << none << "DOD" << int(FilterDOD) << 19;
        QTest::newRow("dod source") << "dod" << "Day of Defeat: Source" << 48 << none << "DODS" << int(FilterDODS) << 20;
        QTest::newRow("dod source lower case") << "dod" << "day of defeat: source" << 48 << none << "DOD" << int(FilterDOD) << 19;
        QTest::newRow("tfc") << "tfc" << "Team Fortress" << 48 << none << "TFC" << int(FilterTF) << 23;
        QTest::newRow("hl2mp dm") << "hl2mp" << "Deathmatch" << 14 << none << "DM" << int(FilterHL2) << 17;
        QTest::newRow("hl2mp tdm") << "hl2mp" << "Team Deathmatch" << 14 << none << "TDM" << int(FilterHL2) << 17;
        QTest::newRow("hl2mp word deathmatch") << "hl2mp" << "Half-Life 2 Deathmatch" << 14 << none << "HL2" << int(FilterHL2) << 17;
        QTest::newRow("hl2mp dm lower case") << "hl2mp" << "deathmatch" << 14 << none << "HL2" << int(FilterHL2) << 17;
        QTest::newRow("hl2mp ctf") << "hl2mp" << "Capture the Flag" << 14 << none << "CTF" << int(FilterHL2) << 17;
        QTest::newRow("hl2mp team ctf") << "hl2mp" << "Team Deathmatch Capture" << 14 << none << "CTF" << int(FilterHL2) << 17;
        QTest::newRow("tf2") << "tf" << "Team Fortress" << 17 << none << "TF2" << int(FilterTF2) << 21;
        QTest::newRow("promod") << "cspromod" << "CSPromod" << 14 << none << "CSP" << int(FilterCSP) << 14;
        QTest::newRow("dmc") << "dmc" << "Deathmatch Classic" << 48 << none << "DMC" << int(FilterDMC) << 24;
        QTest::newRow("ricochet") << "ricochet" << "Ricochet" << 48 << none << "RC" << int(FilterRC) << 25;
        QTest::newRow("l4d") << "left4dead" << "L4D - Co-op" << 7 << none << "L4D" << int(FilterL4D) << 26;
        QTest::newRow("gmod") << "garrysmod" << "Sandbox" << 14 << none << "GMOD" << int(FilterGMOD) << 22;
        QTest::newRow("cstrike other case") << "Cstrike" << "Counter-Strike: Source" << 48 << none << "Cstrike" << AlwaysListed << 11;
        QTest::newRow("unknown folder") << "left4dead2" << "L4D2" << 7 << none << "left4dead2" << AlwaysListed << 11;
        QTest::newRow("empty folder") << "" << "x" << 48 << none << "" << AlwaysListed << 11;
    }
    void classify()
    {
        QFETCH(QString, gameDir);
        QFETCH(QString, description);
        QFETCH(int, protocol);
        QFETCH(QString, proxy);
        ServerInfo info;
        info.gameDir = gameDir;
        info.description = description;
        info.protocol = quint8(protocol);
        info.proxy = proxy;

        const GameClass game = classifyGame(info);
        QTEST(game.code, "code");
        QTEST(game.filter, "filter");
        QTEST(game.icon, "icon");
        QVERIFY(game.icon == IconUnknown || bigIconOf(game.icon) >= 0);
    }

    void access_data()
    {
        QTest::addColumn<int>("password");
        QTest::addColumn<int>("players");
        QTest::addColumn<int>("maxPlayers");
        QTest::addColumn<int>("icon");
        QTest::newRow("free") << 0 << 5 << 10 << int(IconFree);
        QTest::newRow("full") << 0 << 10 << 10 << int(IconFull);
        QTest::newRow("over full") << 0 << 11 << 10 << int(IconFull);
        QTest::newRow("no places") << 0 << 0 << 0 << int(IconFull);
        QTest::newRow("password, free") << 1 << 5 << 10 << int(IconPassword);
        QTest::newRow("password, full") << 1 << 10 << 10 << int(IconPassword);
        QTest::newRow("flag 2") << 2 << 5 << 10 << int(IconFull);
    }
    void access()
    {
        QFETCH(int, password);
        QFETCH(int, players);
        QFETCH(int, maxPlayers);
        QTEST(accessIcon(quint8(password), quint8(players), quint8(maxPlayers)), "icon");
    }

    void os_data()
    {
        QTest::addColumn<char>("os");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("icon");
        QTest::newRow("w") << 'w' << "WIN" << 6;
        QTest::newRow("W") << 'W' << "WIN" << 6;
        QTest::newRow("l") << 'l' << "LIN" << 7;
        QTest::newRow("L") << 'L' << "LIN" << 7;
        QTest::newRow("m") << 'm' << "LIN" << 7;
        QTest::newRow("zero") << '\0' << "LIN" << 7;
    }
    void os()
    {
        QFETCH(char, os);
        const OsText result = osText(os);
        QTEST(result.text, "text");
        QTEST(result.icon, "icon");
    }

    void bigIcons()
    {
        QCOMPARE(bigIconOf(IconUnknown), -1);
        QCOMPARE(bigIconOf(IconCS), 0);
        QCOMPARE(bigIconOf(IconDODS), 8);
        QCOMPARE(bigIconOf(IconGMOD), 10);
        QCOMPARE(bigIconOf(IconL4D), 14);
        QCOMPARE(bigIconOf(ListIconCount), -1);
    }
};

QTEST_GUILESS_MAIN(TestGameClass)
#include "tst_gameclass.moc"
