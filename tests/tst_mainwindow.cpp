#include "scan/autoconnectstate.h"
#include "join/launchstate.h"
#include "net/tnmudp.h"
#include "query/playersmodel.h"
#include "scan/listicons.h"
#include "scan/localaddress.h"
#include "scan/scanengine.h"
#include "scan/serverlistmodel.h"
#include "serverfarm.h"
#include "settings/settingsmodel.h"
#include "support/recordingprompter.h"
#include "support/recordingshell.h"
#include "ui/scangames.h"
#include "ui/trayicon.h"

#include <QHeaderView>
#include <QIcon>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

#include <memory>

namespace {

// Emulated servers of these tests sit on 127.0.80.x at this port.
constexpr int FarmPort = 27315;
// Nobody answers there; a sweep over it only sends.
const char *const EmptyFrom = "127.0.80.100";
const char *const EmptyTo = "127.0.80.180";
constexpr int EmptyCount = 81;

QJsonObject serverAt(const QString &address, QJsonObject keys)
{
    keys.insert(QStringLiteral("address"), address);
    keys.insert(QStringLiteral("port"), FarmPort);
    return keys;
}

const QJsonArray threePlayers{QJsonObject{{"name", "anna"}, {"frags", 3}},
                              QJsonObject{{"name", "Bob"}, {"frags", 12}},
                              QJsonObject{{"name", "carl"}, {"frags", -2}}};

ServerInfo listed(const QString &address, int port, const QString &name, quint8 players)
{
    ServerInfo info;
    info.gameDir = QStringLiteral("tf");
    info.hostName = name;
    info.address = address;
    info.port = port;
    info.players = players;
    info.maxPlayers = 16;
    return info;
}

} // namespace

// The main window driven through its own controls: scanning emulated servers,
// the button states and captions, sorting, the details pages and closing.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void sweepListsRangeAndBroadcastServers();
    void stopPressedWhileTheSweepRuns();
    void refreshUpdatesRowsInPlace();
    void headerClickSortsAsText_data();
    void headerClickSortsAsText();
    void warningsOpenTheSettings_data();
    void warningsOpenTheSettings();
    void badFavoritePortShowsNetworkError();
    void selectionFillsPlayersAndRules_data();
    void selectionFillsPlayersAndRules();
    void playersSortAndClickBelowTheRows();
    void hidingKeepsTheWindowReachable_data();
    void hidingKeepsTheWindowReachable();
    void activationAndHomePage();
    void closeDuringSweep();

private:
    bool startFarm(const QJsonObject &config);
    void scanRange(const QString &from, const QString &to);
    void clickRow(int row);
    static void clickHeader(QTableView *view, int section);
    static QStringList columnTexts(QTableView *view, int column);
    int rowOf(const QString &address) const { return form->servers().findRow(address, FarmPort); }

    std::unique_ptr<SettingsModel> settings;
    AutoConnectState autoConnect;
    LaunchState launch;
    RecordingPrompter prompter;
    RecordingShell shell;
    FixedLocalAddress local{QStringLiteral("127.0.0.1")};
    std::unique_ptr<TForm1> form;
    std::unique_ptr<ServerFarm> farm;
};

void TestMainWindow::init()
{
    settings = std::make_unique<SettingsModel>();
    settings->broadcast = false;
    settings->scanOld = false;
    settings->delay = 0;
    settings->csPort = QString::number(FarmPort);
    autoConnect = AutoConnectState();
    launch = LaunchState();
    prompter = RecordingPrompter();
    shell = RecordingShell();
    form = std::make_unique<TForm1>(
        TForm1::Services{*settings, autoConnect, launch, prompter, shell, local, /*localPort*/ 0, /*registerHotkey*/ false});
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
}

void TestMainWindow::cleanup()
{
    form.reset();
    farm.reset();
    settings.reset();
}

bool TestMainWindow::startFarm(const QJsonObject &config)
{
    farm = std::make_unique<ServerFarm>();
    if (!farm->load(config) || !farm->start()) {
        qWarning() << farm->errorString();
        return false;
    }
    return true;
}

void TestMainWindow::scanRange(const QString &from, const QString &to)
{
    settings->ranges = {{true, from, to}};
    QTest::mouseClick(form->SBScanAll, Qt::LeftButton);
}

void TestMainWindow::clickRow(int row)
{
    const QModelIndex cell = form->LW->model()->index(row, ServerListModel::ColumnAddress);
    QTest::mouseClick(form->LW->viewport(), Qt::LeftButton, {}, form->LW->visualRect(cell).center());
}

void TestMainWindow::clickHeader(QTableView *view, int section)
{
    QHeaderView *header = view->horizontalHeader();
    const QPoint middle(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, middle);
}

QStringList TestMainWindow::columnTexts(QTableView *view, int column)
{
    QStringList texts;
    for (int row = 0; row < view->model()->rowCount(); ++row)
        texts << view->model()->index(row, column).data().toString();
    return texts;
}

void TestMainWindow::sweepListsRangeAndBroadcastServers()
{
    const QJsonArray servers{
        serverAt("127.0.80.1", {{"dialect", "m"}, {"protocol", 47}, {"gameDir", "cstrike"},
                                {"description", "Counter-Strike"}, {"players", 3}, {"maxPlayers", 16}, {"os", "w"}}),
        serverAt("127.0.80.2", {{"gameDir", "tf"}, {"description", "Team Fortress"}, {"players", 24},
                                {"maxPlayers", 24}}),
        serverAt("127.0.80.3", {{"gameDir", "hl2mp"}, {"description", "Deathmatch"}, {"players", 2},
                                {"maxPlayers", 16}, {"password", 1}}),
        serverAt("127.0.80.4", {{"gameDir", "mymod"}, {"description", "My Mod"}, {"maxPlayers", 8}}),
        // Outside the range: only the broadcast reaches it.
        serverAt("127.0.80.20", {{"dialect", "m"}, {"protocol", 47}, {"gameDir", "valve"},
                                 {"description", "Half-Life"}, {"players", 1}, {"maxPlayers", 8}}),
    };
    QVERIFY(startFarm(QJsonObject{{"broadcast", "127.0.255.255"}, {"servers", servers}}));
    settings->broadcast = true;

    struct Buttons
    {
        bool scan, stop, refresh, play, autoConnect, portChoice;
    };
    QVector<Buttons> duringSweep;
    form->engine().pumpMessages = [&] {
        duringSweep << Buttons{form->SBScanAll->isEnabled(), form->SBStop->isEnabled(), form->SBRefresh->isEnabled(),
                               form->SBPlay->isEnabled(),    form->SBAuto->isEnabled(), form->RGGame->isEnabled()};
        QCoreApplication::processEvents();
    };
    scanRange("127.0.80.1", "127.0.80.4");

    QVERIFY(!duringSweep.isEmpty());
    for (const Buttons &b : duringSweep) {
        QVERIFY(!b.scan && b.stop && !b.play && !b.autoConnect && !b.portChoice);
        QVERIFY(!b.refresh);
    }
    QCOMPARE(form->Panels[0]->text(), QStringLiteral(" Scan complete"));
    QCOMPARE(form->Panels[1]->text(), QStringLiteral("5")); // four addresses and the broadcast
    QCOMPARE(form->Gauge->value(), 4);
    QCOMPARE(form->SBScanAll->text(), QStringLiteral("Scan"));
    QVERIFY(!form->SBScanAll->isEnabled());
    QVERIFY(!form->SBStop->isEnabled());
    QVERIFY(form->RGGame->isEnabled() && form->RGHltv->isEnabled());

    // Servers that answered both the range and the broadcast are listed once.
    QTRY_COMPARE(form->LW->model()->rowCount(), 5);
    QTest::qWait(50);
    QCOMPARE(form->LW->model()->rowCount(), 5);
    QTRY_VERIFY(form->SBRefresh->isEnabled());
    QVERIFY(!form->SBPlay->isEnabled() && !form->SBAuto->isEnabled());

    struct Expected
    {
        const char *address;
        const char *code;
        int icon;
        const char *players;
        const char *os;
        int access;
        bool picture;
    };
    const Expected rows[] = {
        {"127.0.80.1", "1.6", IconCS, "3/16", "WIN", IconFree, true},
        {"127.0.80.2", "TF2", IconTF2, "24/24", "LIN", IconFull, true},
        {"127.0.80.3", "DM", IconHL2, "2/16", "LIN", IconPassword, true},
        {"127.0.80.4", "mymod", IconUnknown, "0/8", "LIN", IconFree, false},
        {"127.0.80.20", "HL", IconHL, "1/8", "LIN", IconFree, true},
    };
    const QAbstractItemModel *model = form->LW->model();
    for (const Expected &e : rows) {
        const int row = rowOf(QString::fromLatin1(e.address));
        QVERIFY2(row >= 0, e.address);
        const auto cell = [&](int column) { return model->index(row, column); };
        QCOMPARE(cell(ServerListModel::ColumnGame).data().toString(), QString::fromLatin1(e.code));
        QCOMPARE(cell(ServerListModel::ColumnGame).data(ServerListModel::IconRole).toInt(), e.icon);
        QVERIFY(!cell(ServerListModel::ColumnGame).data(Qt::DecorationRole).value<QIcon>().isNull());
        QCOMPARE(cell(ServerListModel::ColumnPort).data().toString(), QString::number(FarmPort));
        QCOMPARE(cell(ServerListModel::ColumnPlayers).data().toString(), QString::fromLatin1(e.players));
        QCOMPARE(cell(ServerListModel::ColumnOs).data().toString(), QString::fromLatin1(e.os));
        QCOMPARE(cell(ServerListModel::ColumnAccess).data(ServerListModel::IconRole).toInt(), e.access);
        QVERIFY(!cell(ServerListModel::ColumnAccess).data(Qt::DecorationRole).value<QIcon>().isNull());

        clickRow(row);
        QCOMPARE(form->selectedRow(), row);
        QVERIFY(form->SBPlay->isEnabled() && form->SBAuto->isEnabled());
        QCOMPARE(!form->Image->pixmap().isNull(), e.picture);
    }
    QCOMPARE(prompter.shown, QStringList());

    // The countdown after the sweep, one tick at a time.
    QVERIFY(form->engine().Timer.isActive());
    form->engine().Timer.stop();
    const QStringList captions{"Wait 3", "Wait 2", "Wait 1", "Scan"};
    for (const QString &caption : captions) {
        QVERIFY(!form->SBScanAll->isEnabled());
        form->engine().TimerTimer();
        QCOMPARE(form->SBScanAll->text(), caption);
    }
    QVERIFY(form->SBScanAll->isEnabled());

    // A new sweep empties the list, the players and the picture.
    QVERIFY(!form->Image->pixmap().isNull());
    settings->broadcast = false;
    scanRange(EmptyFrom, EmptyFrom);
    QVERIFY(form->Image->pixmap().isNull());
    QCOMPARE(form->players().rowCount(), 0);
    QCOMPARE(form->LW->model()->rowCount(), 0);
}

void TestMainWindow::stopPressedWhileTheSweepRuns()
{
    int pumps = 0;
    form->engine().pumpMessages = [&] {
        if (++pumps == 10) {
            QVERIFY(form->SBStop->isEnabled());
            QTest::mouseClick(form->SBStop, Qt::LeftButton);
        }
        QCoreApplication::processEvents();
    };
    scanRange(EmptyFrom, EmptyTo);

    QCOMPARE(form->Panels[0]->text(), QStringLiteral(" Scan stoped"));
    const int sent = form->Panels[1]->text().toInt();
    QVERIFY2(sent > 0 && sent < EmptyCount, qPrintable(form->Panels[1]->text()));
    QVERIFY(!form->engine().Scanning);
    QVERIFY(!form->SBStop->isEnabled());
    QVERIFY(!form->SBRefresh->isEnabled()); // nothing listed
    QVERIFY(form->RGGame->isEnabled());
    QVERIFY(form->engine().Timer.isActive());
    QVERIFY(!form->SBScanAll->isEnabled());
    const int pumpsAtStop = pumps;
    QTest::qWait(20);
    QCOMPARE(pumps, pumpsAtStop); // the sweep is over, not merely paused
}

void TestMainWindow::refreshUpdatesRowsInPlace()
{
    const QJsonArray servers{serverAt("127.0.80.50", {{"players", 5}, {"maxPlayers", 16}}),
                             serverAt("127.0.80.51", {{"players", 7}, {"maxPlayers", 16}})};
    QVERIFY(startFarm(QJsonObject{{"servers", servers}}));
    scanRange("127.0.80.50", "127.0.80.51");
    QTRY_COMPARE(form->LW->model()->rowCount(), 2);
    const int first = rowOf("127.0.80.50");
    const int second = rowOf("127.0.80.51");
    const QModelIndex firstPlayers = form->LW->model()->index(first, ServerListModel::ColumnPlayers);
    QCOMPARE(firstPlayers.data().toString(), QStringLiteral("5/16"));

    farm->setPlayers(0, 16);
    QTRY_VERIFY(form->SBRefresh->isEnabled());
    QTest::mouseClick(form->SBRefresh, Qt::LeftButton);
    QCOMPARE(form->Panels[0]->text(), QStringLiteral(" Refresh complete"));
    QVERIFY(form->SBRefresh->isEnabled());
    QVERIFY(!form->SBScanAll->isEnabled()); // the countdown of the sweep still runs

    QTRY_COMPARE(firstPlayers.data().toString(), QStringLiteral("16/16"));
    const QModelIndex firstAccess = form->LW->model()->index(first, ServerListModel::ColumnAccess);
    QTRY_COMPARE(firstAccess.data(ServerListModel::IconRole).toInt(), int(IconFull));
    const QModelIndex secondAccess = form->LW->model()->index(second, ServerListModel::ColumnAccess);
    QTRY_COMPARE(secondAccess.data(ServerListModel::IconRole).toInt(), int(IconFree));
    QCOMPARE(form->LW->model()->rowCount(), 2);
    QCOMPARE(rowOf("127.0.80.50"), first);
    QCOMPARE(form->LW->model()->index(second, ServerListModel::ColumnPlayers).data().toString(),
             QStringLiteral("7/16"));
}

void TestMainWindow::headerClickSortsAsText_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("addresses");
    // Rows as listed: .9 "Beta" 9/16 port 27315; .10 "alpha" 10/16 port 27316; .1 "gamma" 2/16 port 2000.
    QTest::newRow("players") << int(ServerListModel::ColumnPlayers)
                             << QStringList{"127.0.80.10", "127.0.80.1", "127.0.80.9"};
    QTest::newRow("address") << int(ServerListModel::ColumnAddress)
                             << QStringList{"127.0.80.1", "127.0.80.10", "127.0.80.9"};
    QTest::newRow("port") << int(ServerListModel::ColumnPort)
                          << QStringList{"127.0.80.1", "127.0.80.9", "127.0.80.10"};
    QTest::newRow("name, letter case ignored") << int(ServerListModel::ColumnName)
                                               << QStringList{"127.0.80.10", "127.0.80.9", "127.0.80.1"};
}

void TestMainWindow::headerClickSortsAsText()
{
    QFETCH(int, column);
    QFETCH(QStringList, addresses);
    form->servers().AddServer(listed("127.0.80.9", 27315, "Beta", 9));
    form->servers().AddServer(listed("127.0.80.10", 27316, "alpha", 10));
    form->servers().AddServer(listed("127.0.80.1", 2000, "gamma", 2));
    clickRow(0);
    QCOMPARE(form->selectedRow(), 0);

    clickHeader(form->LW, column);
    QCOMPARE(columnTexts(form->LW, ServerListModel::ColumnAddress), addresses);
    QCOMPARE(form->servers().sortColumn(), column);
    // The selection moves with its server.
    QCOMPARE(form->selectedRow(), int(addresses.indexOf("127.0.80.9")));
    QVERIFY(form->SBPlay->isEnabled());

    // Clicking again sorts the same way (no direction toggle).
    clickHeader(form->LW, column);
    QCOMPARE(columnTexts(form->LW, ServerListModel::ColumnAddress), addresses);
}

void TestMainWindow::warningsOpenTheSettings_data()
{
    QTest::addColumn<bool>("broadcast");
    QTest::addColumn<bool>("hltv");
    QTest::addColumn<QString>("csPort");
    QTest::addColumn<QString>("hltvPort");
    QTest::addColumn<QString>("warning");
    QTest::newRow("nothing to scan") << false << false << "27015" << "27020"
                                     << "IP ranges, Favorites list is empty and Broadcast is disabled. Please set it in Options.";
    QTest::newRow("game port empty") << true << false << "" << "27020" << "Game port is empty. Please set it in Options.";
    QTest::newRow("HLTV port empty") << true << true << "27015" << "" << "HLTV port is empty. Please set it in Options.";
}

void TestMainWindow::warningsOpenTheSettings()
{
    QFETCH(bool, broadcast);
    QFETCH(bool, hltv);
    QFETCH(QString, csPort);
    QFETCH(QString, hltvPort);
    QFETCH(QString, warning);
    settings->broadcast = broadcast;
    settings->csPort = csPort;
    settings->hltvPort = hltvPort;
    if (hltv)
        QTest::mouseClick(form->RGHltv, Qt::LeftButton);
    QCOMPARE(settings->gameType, hltv ? 1 : 0);
    form->servers().AddServer(listed("127.0.80.9", FarmPort, "kept", 1));
    QSignalSpy options(form.get(), &TForm1::optionsRequested);
    int pumps = 0;
    form->engine().pumpMessages = [&] { ++pumps; };

    QTest::mouseClick(form->SBScanAll, Qt::LeftButton);
    QCOMPARE(prompter.shown, QStringList{QStringLiteral("warning: ") + warning});
    QCOMPARE(options.count(), 1);
    QCOMPARE(pumps, 0);
    QCOMPARE(form->Panels[1]->text(), QString());
    QCOMPARE(form->LW->model()->rowCount(), 1);
    QVERIFY(form->SBScanAll->isEnabled());
    QVERIFY(!form->SBStop->isEnabled());
}

void TestMainWindow::badFavoritePortShowsNetworkError()
{
    settings->favorites = {{"127.0.80.60", "27x15"}, {"127.0.80.61", "27315"}};
    QCOMPARE(form->Panels[2]->text(), QString());
    QTest::mouseClick(form->SBScanAll, Qt::LeftButton);
    QCOMPARE(form->Panels[2]->text(), QStringLiteral(" Network error..."));
    QCOMPARE(form->Panels[0]->text(), QStringLiteral(" Scan stoped"));
    QCOMPARE(form->Panels[1]->text(), QStringLiteral("1")); // the second favourite was not asked
    QVERIFY(!form->SBStop->isEnabled());
    QVERIFY(form->RGGame->isEnabled());
    QVERIFY(form->engine().Timer.isActive());
}

void TestMainWindow::selectionFillsPlayersAndRules_data()
{
    QTest::addColumn<QJsonObject>("server");
    QTest::addColumn<int>("ruleCount");
    QTest::addColumn<QString>("firstRule");
    QTest::addColumn<QString>("lastRule");
    const QString generated = QStringLiteral("rule_%1=value_%1_of_a_generated_rule");
    QTest::newRow("detail challenge")
        << QJsonObject{{"gameDir", "tf"}, {"description", "Team Fortress"},
                       {"rules", QJsonArray{QJsonArray{"mp_timelimit", "30"}, QJsonArray{"sv_gravity", "800"},
                                            QJsonArray{"mp_friendlyfire", "0"}}}}
        << 3 << "mp_timelimit=30" << "mp_friendlyfire=0";
    QTest::newRow("goldsrc split, parts reversed")
        << QJsonObject{{"dialect", "m"}, {"protocol", 47}, {"generateRules", 80},
                       {"split", QJsonObject{{"layout", "goldsrc"}, {"reverse", true}}}}
        << 80 << generated.arg("0001") << generated.arg("0080");
    QTest::newRow("source split, parts reversed")
        << QJsonObject{{"generateRules", 100}, {"split", QJsonObject{{"layout", "source"}, {"reverse", true}}}}
        << 100 << generated.arg("0001") << generated.arg("0100");
    QTest::newRow("261 rules") << QJsonObject{{"generateRules", 261}, {"split", QJsonObject{{"layout", "source"}}}}
                               << 261 << generated.arg("0001") << generated.arg("0261");
}

void TestMainWindow::selectionFillsPlayersAndRules()
{
    QFETCH(QJsonObject, server);
    QFETCH(int, ruleCount);
    server.insert(QStringLiteral("playerList"), threePlayers);
    QVERIFY(startFarm(QJsonObject{{"servers", QJsonArray{serverAt("127.0.80.40", server)}}}));
    scanRange("127.0.80.40", "127.0.80.40");
    QTRY_COMPARE(form->LW->model()->rowCount(), 1);

    clickRow(0);
    QTRY_COMPARE(form->LWRules->model()->rowCount(), ruleCount);
    QTRY_COMPARE(form->LWPlayers->model()->rowCount(), 3);
    const auto rule = [&](int row) {
        const QAbstractItemModel *m = form->LWRules->model();
        return m->index(row, 0).data().toString() + QLatin1Char('=') + m->index(row, 1).data().toString();
    };
    QTEST(rule(0), "firstRule");
    QTEST(rule(ruleCount - 1), "lastRule");
    // Highest frags first.
    QCOMPARE(columnTexts(form->LWPlayers, 0), (QStringList{"Bob", "anna", "carl"}));
    QCOMPARE(columnTexts(form->LWPlayers, 1), (QStringList{"12", "3", "-2"}));

    // The server asked for its challenge before it answered.
    bool challenged = false;
    for (const RequestRecord &r : farm->requests())
        challenged = challenged || (r.kind == QLatin1String("U") && r.reply.startsWith(QLatin1Char('A')));
    QVERIFY(challenged);
}

void TestMainWindow::playersSortAndClickBelowTheRows()
{
    const QJsonObject server{{"playerList", threePlayers}, {"rules", QJsonObject{{"mp_timelimit", "30"}}}};
    QVERIFY(startFarm(QJsonObject{{"servers", QJsonArray{serverAt("127.0.80.45", server)}}}));
    scanRange("127.0.80.45", "127.0.80.45");
    QTRY_COMPARE(form->LW->model()->rowCount(), 1);
    clickRow(0);
    QTRY_COMPARE(form->LWPlayers->model()->rowCount(), 3);
    QTRY_COMPARE(form->LWRules->model()->rowCount(), 1);

    clickHeader(form->LWPlayers, 0);
    QCOMPARE(columnTexts(form->LWPlayers, 0), (QStringList{"anna", "Bob", "carl"}));
    clickHeader(form->LWPlayers, 1);
    QCOMPARE(columnTexts(form->LWPlayers, 0), (QStringList{"Bob", "anna", "carl"}));

    QVERIFY(form->SBPlay->isEnabled());
    QVERIFY(!form->Image->pixmap().isNull());
    QWidget *viewport = form->LW->viewport();
    QVERIFY(form->LW->visualRect(form->LW->model()->index(0, 0)).bottom() < viewport->height() - 4);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(viewport->width() / 2, viewport->height() - 2));
    QCOMPARE(form->selectedRow(), -1);
    QCOMPARE(form->LWPlayers->model()->rowCount(), 0);
    QCOMPARE(form->LWRules->model()->rowCount(), 0);
    QVERIFY(form->Image->pixmap().isNull());
    QVERIFY(!form->SBPlay->isEnabled());
    QVERIFY(!form->SBAuto->isEnabled());
}

void TestMainWindow::hidingKeepsTheWindowReachable_data()
{
    QTest::addColumn<bool>("trayAvailable");
    QTest::newRow("with a tray: hidden") << true;
    QTest::newRow("without a tray: minimised") << false;
}

void TestMainWindow::hidingKeepsTheWindowReachable()
{
    QFETCH(bool, trayAvailable);
    form->tray().systemTrayAvailable = [=] { return trayAvailable; };
    settings->favAutoScan = true;
    form->favoritesScanSwitched(true);
    QVERIFY(form->TimerFav->isActive());

    // The favourites auto-scan rests while the window is out of sight.
    form->Hide1Click();
    QCOMPARE(form->isVisible(), !trayAvailable);
    QCOMPARE(form->isMinimized(), !trayAvailable);
    QVERIFY(!form->TimerFav->isActive());

    form->HotkeyPressed();
    QVERIFY(form->isVisible());
    QVERIFY(!form->isMinimized());
    QVERIFY(form->TimerFav->isActive());

    form->HotkeyPressed();
    QCOMPARE(form->isVisible(), !trayAvailable);
    QCOMPARE(form->isMinimized(), !trayAvailable);
}

void TestMainWindow::activationAndHomePage()
{
    // The daily update check hangs on the window's activation.
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QSignalSpy activated(form.get(), &TForm1::activated);
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QTRY_VERIFY(activated.count() >= 1);

    form->Homepage1Click();
    QCOMPARE(shell.opened, QStringList{TForm1::homePageAddress()});
    QVERIFY(TForm1::homePageAddress().startsWith(QLatin1String("https://")));
}

void TestMainWindow::closeDuringSweep()
{
    QVERIFY(form->udp().LocalPort() != 0);
    int pumps = 0;
    form->engine().pumpMessages = [&] {
        if (++pumps == 5)
            form->close();
        QCoreApplication::processEvents();
    };
    scanRange(EmptyFrom, EmptyTo);

    QVERIFY(!form->isVisible());
    QCOMPARE(form->Panels[0]->text(), QStringLiteral(" Scan stoped"));
    QVERIFY(form->Panels[1]->text().toInt() < EmptyCount);
    QVERIFY(!form->engine().Scanning);
    QCOMPARE(form->udp().LocalPort(), 0); // the endpoint is released
    QTest::qWait(20);
    QCOMPARE(pumps, 5);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
