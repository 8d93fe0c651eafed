#include "scan/autoconnectstate.h"
#include "join/launchstate.h"
#include "net/udpendpoint.h"
#include "query/queryprotocol.h"
#include "scan/listicons.h"
#include "support/windowrig.h"
#include "support/fixedlocaladdress.h"
#include "support/fixednetworkcards.h"
#include "scan/scanengine.h"
#include "scan/serverlistmodel.h"
#include "replybuilder.h"
#include "serverfarm.h"
#include "settings/inifile.h"
#include "settings/settingsmodel.h"
#include "support/recordingprompter.h"
#include "support/recordingshell.h"
#include "support/windowcontrols.h"
#include "ui/mainwindow.h"
#include "ui/trayicon.h"

#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QIcon>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QNetworkDatagram>
#include <QTableView>
#include <QTemporaryDir>
#include <QUdpSocket>
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

ServerInfo listed(const QString &address, int port, const QString &name, quint8 players, int ping = -1)
{
    ServerInfo info;
    info.ping = ping;
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
    void detailsComeFromTheSelectedServer_data();
    void detailsComeFromTheSelectedServer();
    void hidingKeepsTheWindowReachable_data();
    void hidingKeepsTheWindowReachable();
    void activationAndHomePage();
    void closeDuringSweep();
    void quickFilterNarrowsTheList();
    void theRowInViewIsTheOneUsed();
    void quickFilterSurvivesARestart();

private:
    bool startFarm(const QJsonObject &config);
    // Scan, then every step of the sweep by calling its timer's slot;
    // `betweenSteps` runs before each step.
    void scanRange(const QString &from, const QString &to, const std::function<void()> &betweenSteps = {});
    void finishSweep(const std::function<void()> &betweenSteps = {});
    void clickRow(int row);
    static void clickHeader(QTableView *view, int section);
    static QStringList columnTexts(QTableView *view, int column);
    int rowOf(const QString &address) const { return form->session().servers().findRow(address, FarmPort); }
    template <class T>
    T *control(const char *name) const
    {
        return form->findChild<T *>(QLatin1String(name));
    }
    void setQuickFilter(const QString &text, const QString &hide);
    void createForm();

    std::unique_ptr<SettingsModel> settings;
    RecordingPrompter prompter;
    RecordingShell shell;
    FixedLocalAddress local{QStringLiteral("127.0.0.1")};
    FixedNetworkCards cards;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<MainWindowControls> ui;
    std::unique_ptr<ServerFarm> farm;
};

void TestMainWindow::init()
{
    settings = std::make_unique<SettingsModel>();
    settings->broadcast = false;
    // On loopback the LAN ports could reach another test's emulator.
    settings->broadcastLanPorts = false;
    settings->scanOld = false;
    settings->delay = 0;
    settings->csPort = QString::number(FarmPort);
    prompter = RecordingPrompter();
    shell = RecordingShell();
    createForm();
}

void TestMainWindow::createForm()
{
    form = riggedMainWindow({*settings, prompter, shell, local, cards});
    ui = std::make_unique<MainWindowControls>(form.get());
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
}

void TestMainWindow::cleanup()
{
    ui.reset();
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

void TestMainWindow::scanRange(const QString &from, const QString &to, const std::function<void()> &betweenSteps)
{
    settings->ranges = {{true, from, to}};
    QTest::mouseClick(ui->SBScanAll, Qt::LeftButton);
    finishSweep(betweenSteps);
}

void TestMainWindow::finishSweep(const std::function<void()> &betweenSteps)
{
    const auto *steps = form->session().findChild<QTimer *>(QStringLiteral("SweepTimer"));
    while (form->session().engine().sweepRunning() && steps->isActive()) {
        if (betweenSteps)
            betweenSteps();
        form->session().engine().sweepStep();
    }
}

void TestMainWindow::clickRow(int row)
{
    const QModelIndex cell = ui->LW->model()->index(row, ServerListModel::ColumnAddress);
    QTest::mouseClick(ui->LW->viewport(), Qt::LeftButton, {}, ui->LW->visualRect(cell).center());
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
    // Four servers answer both the range and the broadcast, the fifth only the broadcast.
    QSignalSpy replies(&form->session().protocol(), &QueryProtocol::serverInfoReceived);

    struct Buttons
    {
        bool scan, stop, refresh, play, autoConnect, portChoice;
    };
    QVector<Buttons> duringSweep;
    scanRange("127.0.80.1", "127.0.80.4", [&] {
        duringSweep << Buttons{ui->SBScanAll->isEnabled(), ui->SBStop->isEnabled(), ui->SBRefresh->isEnabled(),
                               ui->SBPlay->isEnabled(),    ui->SBAuto->isEnabled(), ui->RGGame->isEnabled()};
    });
    // The countdown after the sweep goes on by hand below, however long the replies take.
    QVERIFY(form->session().engine().countdownRunning());
    ui->Timer->stop();

    QVERIFY(!duringSweep.isEmpty());
    for (const Buttons &b : duringSweep) {
        QVERIFY(!b.scan && b.stop && !b.play && !b.autoConnect && !b.portChoice);
        QVERIFY(!b.refresh);
    }
    QCOMPARE(ui->Panels[0]->text(), QStringLiteral(" Scan complete"));
    QCOMPARE(ui->Panels[1]->text(), QStringLiteral("5")); // four addresses and the broadcast
    QCOMPARE(ui->Gauge->value(), 4);
    QCOMPARE(ui->SBScanAll->text(), QStringLiteral("Scan"));
    QVERIFY(!ui->SBScanAll->isEnabled());
    QVERIFY(!ui->SBStop->isEnabled());
    QVERIFY(ui->RGGame->isEnabled() && ui->RGHltv->isEnabled());

    // Servers that answered both the range and the broadcast are listed once.
    QTRY_COMPARE(replies.count(), 9);
    QCOMPARE(ui->LW->model()->rowCount(), 5);
    QTRY_VERIFY(ui->SBRefresh->isEnabled());
    QVERIFY(!ui->SBPlay->isEnabled() && !ui->SBAuto->isEnabled());

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
    const QAbstractItemModel *model = ui->LW->model();
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
        // Whether the server answered the broadcast or its own request, it has a time.
        QVERIFY(!cell(ServerListModel::ColumnPing).data().toString().isEmpty());

        clickRow(row);
        QCOMPARE(form->selectedRow(), row);
        QVERIFY(ui->SBPlay->isEnabled() && ui->SBAuto->isEnabled());
        QCOMPARE(!ui->Image->pixmap().isNull(), e.picture);
    }
    QCOMPARE(prompter.shown, QStringList());

    // The countdown after the sweep, one tick at a time.
    const QStringList captions{"Wait 3", "Wait 2", "Wait 1", "Scan"};
    for (const QString &caption : captions) {
        QVERIFY(!ui->SBScanAll->isEnabled());
        form->session().engine().countdownTick();
        QCOMPARE(ui->SBScanAll->text(), caption);
    }
    QVERIFY(ui->SBScanAll->isEnabled());

    // A new sweep empties the list, the players and the picture.
    QVERIFY(!ui->Image->pixmap().isNull());
    settings->broadcast = false;
    scanRange(EmptyFrom, EmptyFrom);
    QVERIFY(ui->Image->pixmap().isNull());
    QCOMPARE(ui->LWPlayers->model()->rowCount(), 0);
    QCOMPARE(ui->LW->model()->rowCount(), 0);
}

void TestMainWindow::stopPressedWhileTheSweepRuns()
{
    // With a delay, one address to a step.
    settings->delay = 1;
    int steps = 0;
    scanRange(EmptyFrom, EmptyTo, [&] {
        if (++steps == 10) {
            QVERIFY(ui->SBStop->isEnabled());
            QTest::mouseClick(ui->SBStop, Qt::LeftButton);
        }
    });

    QCOMPARE(ui->Panels[0]->text(), QStringLiteral(" Scan stoped"));
    const int sent = ui->Panels[1]->text().toInt();
    QVERIFY2(sent > 0 && sent < EmptyCount, qPrintable(ui->Panels[1]->text()));
    QVERIFY(!form->session().engine().scanning());
    QVERIFY(!ui->SBStop->isEnabled());
    QVERIFY(!ui->SBRefresh->isEnabled()); // nothing listed
    QVERIFY(ui->RGGame->isEnabled());
    QVERIFY(form->session().engine().countdownRunning());
    QVERIFY(!ui->SBScanAll->isEnabled());
    QCOMPARE(steps, 10); // the sweep ended at its next step, not merely paused
}

void TestMainWindow::refreshUpdatesRowsInPlace()
{
    const QJsonArray servers{serverAt("127.0.80.50", {{"players", 5}, {"maxPlayers", 16}}),
                             serverAt("127.0.80.51", {{"players", 7}, {"maxPlayers", 16}})};
    QVERIFY(startFarm(QJsonObject{{"servers", servers}}));
    scanRange("127.0.80.50", "127.0.80.51");
    // The countdown runs, its next beat far off, however long the replies take.
    ui->Timer->setInterval(3600 * 1000);
    QTRY_COMPARE(ui->LW->model()->rowCount(), 2);
    const int first = rowOf("127.0.80.50");
    const int second = rowOf("127.0.80.51");
    const QModelIndex firstPlayers = ui->LW->model()->index(first, ServerListModel::ColumnPlayers);
    QCOMPARE(firstPlayers.data().toString(), QStringLiteral("5/16"));

    farm->setPlayers(0, 16);
    QTRY_VERIFY(ui->SBRefresh->isEnabled());
    QTest::mouseClick(ui->SBRefresh, Qt::LeftButton);
    // The requests follow a short pause.
    QTRY_COMPARE(ui->Panels[0]->text(), QStringLiteral(" Refresh complete"));
    QVERIFY(ui->SBRefresh->isEnabled());
    QVERIFY(!ui->SBScanAll->isEnabled()); // the countdown of the sweep has not ended

    QTRY_COMPARE(firstPlayers.data().toString(), QStringLiteral("16/16"));
    const QModelIndex firstAccess = ui->LW->model()->index(first, ServerListModel::ColumnAccess);
    QTRY_COMPARE(firstAccess.data(ServerListModel::IconRole).toInt(), int(IconFull));
    const QModelIndex secondAccess = ui->LW->model()->index(second, ServerListModel::ColumnAccess);
    QTRY_COMPARE(secondAccess.data(ServerListModel::IconRole).toInt(), int(IconFree));
    QCOMPARE(ui->LW->model()->rowCount(), 2);
    QCOMPARE(rowOf("127.0.80.50"), first);
    QCOMPARE(ui->LW->model()->index(second, ServerListModel::ColumnPlayers).data().toString(),
             QStringLiteral("7/16"));
}

void TestMainWindow::headerClickSortsAsText_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("addresses");
    // Rows as listed: .9 "Beta" 9/16 port 27315 ping 9; .10 "alpha" 10/16 port 27316 ping 10;
    // .1 "gamma" 2/16 port 2000 ping 2.
    QTest::newRow("players") << int(ServerListModel::ColumnPlayers)
                             << QStringList{"127.0.80.10", "127.0.80.1", "127.0.80.9"};
    QTest::newRow("address") << int(ServerListModel::ColumnAddress)
                             << QStringList{"127.0.80.1", "127.0.80.10", "127.0.80.9"};
    QTest::newRow("port") << int(ServerListModel::ColumnPort)
                          << QStringList{"127.0.80.1", "127.0.80.9", "127.0.80.10"};
    QTest::newRow("name, letter case ignored") << int(ServerListModel::ColumnName)
                                               << QStringList{"127.0.80.10", "127.0.80.9", "127.0.80.1"};
    QTest::newRow("ping, as a number") << int(ServerListModel::ColumnPing)
                                       << QStringList{"127.0.80.1", "127.0.80.9", "127.0.80.10"};
}

void TestMainWindow::headerClickSortsAsText()
{
    QFETCH(int, column);
    QFETCH(QStringList, addresses);
    form->session().servers().addOrUpdate(listed("127.0.80.9", 27315, "Beta", 9, 9));
    form->session().servers().addOrUpdate(listed("127.0.80.10", 27316, "alpha", 10, 10));
    form->session().servers().addOrUpdate(listed("127.0.80.1", 2000, "gamma", 2, 2));
    clickRow(0);
    QCOMPARE(form->selectedRow(), 0);

    clickHeader(ui->LW, column);
    QCOMPARE(columnTexts(ui->LW, ServerListModel::ColumnAddress), addresses);
    QCOMPARE(form->session().servers().sortColumn(), column);
    // The selection moves with its server.
    QCOMPARE(form->selectedRow(), int(addresses.indexOf("127.0.80.9")));
    QVERIFY(ui->SBPlay->isEnabled());

    // Clicking again sorts the same way (no direction toggle).
    clickHeader(ui->LW, column);
    QCOMPARE(columnTexts(ui->LW, ServerListModel::ColumnAddress), addresses);
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
        QTest::mouseClick(ui->RGHltv, Qt::LeftButton);
    QCOMPARE(settings->gameType, hltv ? 1 : 0);
    form->session().servers().addOrUpdate(listed("127.0.80.9", FarmPort, "kept", 1));
    QSignalSpy options(form.get(), &TForm1::optionsRequested);
    QTest::mouseClick(ui->SBScanAll, Qt::LeftButton);
    QCOMPARE(prompter.shown, QStringList{QStringLiteral("warning: ") + warning});
    QCOMPARE(options.count(), 1);
    QVERIFY(!form->session().engine().sweepRunning());
    QCOMPARE(ui->Panels[1]->text(), QString());
    QCOMPARE(ui->LW->model()->rowCount(), 1);
    QVERIFY(ui->SBScanAll->isEnabled());
    QVERIFY(!ui->SBStop->isEnabled());
}

void TestMainWindow::badFavoritePortShowsNetworkError()
{
    settings->favorites = {{"127.0.80.60", "27x15"}, {"127.0.80.61", "27315"}};
    QCOMPARE(ui->Panels[2]->text(), QString());
    QTest::mouseClick(ui->SBScanAll, Qt::LeftButton);
    finishSweep();
    QCOMPARE(ui->Panels[2]->text(), QStringLiteral(" Network error..."));
    QCOMPARE(ui->Panels[0]->text(), QStringLiteral(" Scan stoped"));
    QCOMPARE(ui->Panels[1]->text(), QStringLiteral("0")); // nothing went out: the second favourite was not asked
    QVERIFY(!ui->SBStop->isEnabled());
    QVERIFY(ui->RGGame->isEnabled());
    QVERIFY(form->session().engine().countdownRunning());
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
    QTRY_COMPARE(ui->LW->model()->rowCount(), 1);

    clickRow(0);
    QTRY_COMPARE(ui->LWRules->model()->rowCount(), ruleCount);
    QTRY_COMPARE(ui->LWPlayers->model()->rowCount(), 3);
    const auto rule = [&](int row) {
        const QAbstractItemModel *m = ui->LWRules->model();
        return m->index(row, 0).data().toString() + QLatin1Char('=') + m->index(row, 1).data().toString();
    };
    QTEST(rule(0), "firstRule");
    QTEST(rule(ruleCount - 1), "lastRule");
    // Highest frags first.
    QCOMPARE(columnTexts(ui->LWPlayers, 0), (QStringList{"Bob", "anna", "carl"}));
    QCOMPARE(columnTexts(ui->LWPlayers, 1), (QStringList{"12", "3", "-2"}));

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
    QTRY_COMPARE(ui->LW->model()->rowCount(), 1);
    clickRow(0);
    QTRY_COMPARE(ui->LWPlayers->model()->rowCount(), 3);
    QTRY_COMPARE(ui->LWRules->model()->rowCount(), 1);

    clickHeader(ui->LWPlayers, 0);
    QCOMPARE(columnTexts(ui->LWPlayers, 0), (QStringList{"anna", "Bob", "carl"}));
    clickHeader(ui->LWPlayers, 1);
    QCOMPARE(columnTexts(ui->LWPlayers, 0), (QStringList{"Bob", "anna", "carl"}));

    QVERIFY(ui->SBPlay->isEnabled());
    QVERIFY(!ui->Image->pixmap().isNull());
    QWidget *viewport = ui->LW->viewport();
    QVERIFY(ui->LW->visualRect(ui->LW->model()->index(0, 0)).bottom() < viewport->height() - 4);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(viewport->width() / 2, viewport->height() - 2));
    QCOMPARE(form->selectedRow(), -1);
    QCOMPARE(ui->LWPlayers->model()->rowCount(), 0);
    QCOMPARE(ui->LWRules->model()->rowCount(), 0);
    QVERIFY(ui->Image->pixmap().isNull());
    QVERIFY(!ui->SBPlay->isEnabled());
    QVERIFY(!ui->SBAuto->isEnabled());
}

namespace {

// A server the test answers by hand: it waits for Vantor's players and rules
// requests and replies when the test says so.
class HandServer
{
public:
    HandServer(const char *address, const QByteArray &player, const QByteArray &rule) : host(address)
    {
        QVERIFY(socket.bind(host, 0));
        players = playersReply({PlayerEntry{player, 1, 0}});
        rules = rulesReply({{rule, QByteArrayLiteral("1")}});
    }
    int port() const { return socket.localPort(); }
    QString address() const { return host.toString(); }
    // Waits for the players and the rules request.
    void awaitRequests()
    {
        QSet<char> kinds;
        QTRY_VERIFY(takeRequest(kinds) && kinds.contains('U') && kinds.contains('V'));
    }
    void answer(quint16 to)
    {
        const QHostAddress vantor(QStringLiteral("127.0.0.1"));
        socket.writeDatagram(players, vantor, to);
        socket.writeDatagram(rules, vantor, to);
    }

private:
    bool takeRequest(QSet<char> &kinds)
    {
        while (socket.hasPendingDatagrams()) {
            const QByteArray d = socket.receiveDatagram().data();
            if (d.size() > 4)
                kinds.insert(d[4]);
        }
        return true;
    }

    QHostAddress host;
    QUdpSocket socket;
    QByteArray players;
    QByteArray rules;
};

} // namespace

void TestMainWindow::detailsComeFromTheSelectedServer_data()
{
    QTest::addColumn<bool>("slowFirst");
    QTest::newRow("slow server selected first") << true;
    QTest::newRow("fast server selected first") << false;
}

void TestMainWindow::detailsComeFromTheSelectedServer()
{
    // Players and rules are asked of the server selected; replies of another
    // server (one selected before) arrive late and must not fill the lists.
    QFETCH(bool, slowFirst);
    HandServer slow("127.0.80.70", "slowpoke", "slow_rule");
    HandServer fast("127.0.80.71", "speedy", "fast_rule");
    form->session().servers().addOrUpdate(listed(slow.address(), slow.port(), "slow", 1));
    form->session().servers().addOrUpdate(listed(fast.address(), fast.port(), "fast", 1));
    const quint16 vantor = quint16(form->session().endpoint().localPort());
    QSignalSpy players(&form->session().protocol(), &QueryProtocol::playersReceived);
    QSignalSpy rules(&form->session().protocol(), &QueryProtocol::rulesReceived);
    const auto shown = [&] {
        return columnTexts(ui->LWPlayers, 0).join(u',') + QLatin1Char('|')
            + columnTexts(ui->LWRules, 0).join(u',');
    };
    HandServer &first = slowFirst ? slow : fast;
    HandServer &second = slowFirst ? fast : slow;

    form->selectRow(form->session().servers().findRow(first.address(), first.port()));
    first.awaitRequests();
    if (!slowFirst) {
        first.answer(vantor);
        QTRY_COMPARE(shown(), QStringLiteral("speedy|fast_rule"));
    }
    form->selectRow(form->session().servers().findRow(second.address(), second.port()));
    QCOMPARE(shown(), QStringLiteral("|"));
    second.awaitRequests();
    if (slowFirst) {
        second.answer(vantor);
        QTRY_COMPARE(shown(), QStringLiteral("speedy|fast_rule"));
    }

    // The first server's replies come in late: they are read and dropped.
    const int before = int(rules.count());
    first.answer(vantor);
    QTRY_COMPARE(int(rules.count()), before + 1);
    QCOMPARE(players.last().at(1).toString(), first.address());
    QCOMPARE(rules.last().at(1).toString(), first.address());
    if (slowFirst) {
        QCOMPARE(shown(), QStringLiteral("speedy|fast_rule"));
    } else {
        QCOMPARE(shown(), QStringLiteral("|"));
        second.answer(vantor);
        QTRY_COMPARE(shown(), QStringLiteral("slowpoke|slow_rule"));
    }
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
    form->session().switchFavoritesScan(true);
    QVERIFY(ui->TimerFav->isActive());

    // The favourites auto-scan rests while the window is out of sight.
    form->Hide1Click();
    QCOMPARE(form->isVisible(), !trayAvailable);
    QCOMPARE(form->isMinimized(), !trayAvailable);
    QVERIFY(!ui->TimerFav->isActive());

    form->HotkeyPressed();
    QVERIFY(form->isVisible());
    QVERIFY(!form->isMinimized());
    QVERIFY(ui->TimerFav->isActive());

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
    QVERIFY(form->session().endpoint().localPort() != 0);
    settings->delay = 1;
    int steps = 0;
    scanRange(EmptyFrom, EmptyTo, [&] {
        if (++steps == 5)
            form->close();
    });

    QVERIFY(!form->isVisible());
    QCOMPARE(ui->Panels[0]->text(), QStringLiteral(" Scan stoped"));
    QVERIFY(ui->Panels[1]->text().toInt() < EmptyCount);
    QVERIFY(!form->session().engine().scanning());
    QCOMPARE(form->session().endpoint().localPort(), 0); // the endpoint is released
    QCOMPARE(steps, 5);
}

// Types the text into the filter bar and sets its toggles (e: empty, f: full, p: password).
void TestMainWindow::setQuickFilter(const QString &text, const QString &hide)
{
    auto *edit = control<QLineEdit>("EditFilter");
    QVERIFY(edit);
    edit->setFocus();
    edit->clear();
    QTest::keyClicks(edit, text);
    const std::pair<const char *, QChar> toggles[] = {
        {"CBHideEmpty", u'e'}, {"CBHideFull", u'f'}, {"CBHidePassword", u'p'}};
    for (const auto &[name, letter] : toggles) {
        auto *box = control<QCheckBox>(name);
        QVERIFY(box);
        if (box->isChecked() != hide.contains(letter))
            QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(box->isChecked(), hide.contains(letter));
    }
}

void TestMainWindow::quickFilterNarrowsTheList()
{
    const QJsonArray servers{
        serverAt("127.0.80.1", {{"name", "Dust Lovers"}, {"map", "de_dust2"}, {"players", 3}, {"maxPlayers", 16}}),
        serverAt("127.0.80.2", {{"name", "Office Party"}, {"map", "cs_office"}, {"players", 16}, {"maxPlayers", 16}}),
        serverAt("127.0.80.3", {{"name", "Locked"}, {"map", "de_dust"}, {"players", 2}, {"maxPlayers", 16},
                                {"password", 1}}),
        serverAt("127.0.80.4", {{"name", "Empty Nights"}, {"map", "de_inferno"}, {"maxPlayers", 16}}),
    };
    QVERIFY(startFarm(QJsonObject{{"servers", servers}}));
    scanRange("127.0.80.1", "127.0.80.4");
    QTRY_COMPARE(form->session().servers().rowCount(), 4);
    form->session().servers().sortByColumn(ServerListModel::ColumnAddress);
    auto *count = control<QLabel>("LBFilterCount");
    QVERIFY(count);

    struct Step
    {
        const char *text;
        const char *hide;
        QStringList shown;
    };
    const Step steps[] = {
        {"", "", {"127.0.80.1", "127.0.80.2", "127.0.80.3", "127.0.80.4"}},
        {"DUST", "", {"127.0.80.1", "127.0.80.3"}},
        {"dust", "p", {"127.0.80.1"}},
        {"", "e", {"127.0.80.1", "127.0.80.2", "127.0.80.3"}},
        {"", "f", {"127.0.80.1", "127.0.80.3", "127.0.80.4"}},
        {"", "p", {"127.0.80.1", "127.0.80.2", "127.0.80.4"}},
        {"party", "", {"127.0.80.2"}},
        {"0.80.4", "", {"127.0.80.4"}},
        {"inferno", "e", {}},
    };
    for (const Step &step : steps) {
        setQuickFilter(QString::fromLatin1(step.text), QString::fromLatin1(step.hide));
        const QByteArray what = QByteArray(step.text) + " / " + step.hide;
        QVERIFY2(columnTexts(ui->LW, ServerListModel::ColumnAddress) == step.shown, what);
        QCOMPARE(count->text(), step.shown.size() < 4 ? QStringLiteral("%1 of 4").arg(step.shown.size()) : QString());
        // Hidden rows are still listed; the targets-sent panel keeps its count.
        QCOMPARE(form->session().servers().rowCount(), 4);
        QCOMPARE(ui->Panels[1]->text(), QStringLiteral("4"));
    }
}

void TestMainWindow::theRowInViewIsTheOneUsed()
{
    settings->games[10].exePath = QStringLiteral("/games/hl2"); // "TF2"
    QJsonArray servers;
    for (int i = 1; i <= 3; ++i)
        servers.append(serverAt(QStringLiteral("127.0.80.%1").arg(i),
                                {{"gameDir", "tf"}, {"description", "Team Fortress"},
                                 {"map", i == 3 ? "ctf_2fort" : "cp_dustbowl"}, {"players", 10 - i},
                                 {"maxPlayers", 24}, {"playerList", i == 2 ? threePlayers : QJsonArray()}}));
    QVERIFY(startFarm(QJsonObject{{"servers", servers}}));
    scanRange("127.0.80.1", "127.0.80.3");
    QTRY_COMPARE(form->session().servers().rowCount(), 3);
    form->session().servers().sortByColumn(ServerListModel::ColumnAddress);

    // Sorted by players the list holds .3, .2, .1; the filter leaves .2 and .1 in view.
    setQuickFilter(QStringLiteral("dustbowl"), QString());
    clickHeader(ui->LW, ServerListModel::ColumnPlayers);
    QCOMPARE(columnTexts(ui->LW, ServerListModel::ColumnAddress), (QStringList{"127.0.80.2", "127.0.80.1"}));
    clickRow(0);
    QCOMPARE(form->selectedRow(), rowOf("127.0.80.2"));
    QCOMPARE(form->selectedRow(), 1); // the list's second row, the first in view
    QTRY_COMPARE(ui->LWPlayers->model()->rowCount(), 3); // the details of the row in view

    // Copied as shown in the menu, after a separator that follows the design's items.
    auto *menu = control<QMenu>("PMServers");
    QVERIFY(menu);
    QStringList items;
    for (QAction *action : menu->actions())
        items << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(items, (QStringList{"Play", "Auto connect", "Add To Favorites", "-", "Copy Address", "Copy Steam Link"}));
    const QString address = QStringLiteral("127.0.80.2:%1").arg(FarmPort);
    QClipboard *clipboard = QGuiApplication::clipboard();
    menu->actions().at(5)->trigger();
    QCOMPARE(clipboard->text(), QStringLiteral("steam://connect/") + address);
    clipboard->clear();
    menu->actions().at(4)->trigger();
    QCOMPARE(clipboard->text(), address);
    clipboard->clear();
    ui->LW->setFocus();
    QTest::keySequence(ui->LW, QKeySequence::Copy);
    QCOMPARE(clipboard->text(), address);

    auto *play = control<QPushButton>("SBPlay");
    QVERIFY(play && play->isEnabled());
    QTest::mouseClick(play, Qt::LeftButton);
    QCOMPARE(shell.started.size(), 1);
    QCOMPARE(shell.started[0].last(), address);

    // Filtered out of view, the row is no longer selected: nothing to play.
    form->show();
    setQuickFilter(QStringLiteral("2fort"), QString());
    QCOMPARE(columnTexts(ui->LW, ServerListModel::ColumnAddress), QStringList{"127.0.80.3"});
    QCOMPARE(form->selectedRow(), -1);
    QVERIFY(!play->isEnabled());
    QCOMPARE(ui->LWPlayers->model()->rowCount(), 0);

    // A filter change that leaves a single row while the list has the focus
    // (an assistive tool sets the text) selects that row, and joins nothing.
    setQuickFilter(QStringLiteral("nowhere"), QString());
    ui->LW->setFocus();
    QVERIFY(ui->LW->hasFocus());
    QCOMPARE(form->selectedRow(), -1);
    control<QLineEdit>("EditFilter")->setText(QStringLiteral("2fort"));
    QCOMPARE(form->selectedRow(), rowOf("127.0.80.3"));
    QVERIFY(play->isEnabled());
    QCOMPARE(shell.started.size(), 1);
}

void TestMainWindow::quickFilterSurvivesARestart()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    IniFile ini(dir.filePath(QStringLiteral("vantor.ini")));
    const auto restart = [&] {
        form.reset();
        settings = std::make_unique<SettingsModel>();
        settings->load(ini);
        createForm();
        form->applySettings();
    };
    restart();
    setQuickFilter(QStringLiteral(" Dust "), QStringLiteral("f"));
    settings->save(ini);

    restart();
    QCOMPARE(control<QLineEdit>("EditFilter")->text(), QStringLiteral("Dust"));
    QVERIFY(!control<QCheckBox>("CBHideEmpty")->isChecked());
    QVERIFY(control<QCheckBox>("CBHideFull")->isChecked());
    QVERIFY(!control<QCheckBox>("CBHidePassword")->isChecked());
    ServerInfo full = listed(QStringLiteral("127.0.80.1"), FarmPort, QStringLiteral("dust full"), 16);
    form->session().servers().addOrUpdate(full);
    form->session().servers().addOrUpdate(listed(QStringLiteral("127.0.80.2"), FarmPort, QStringLiteral("dust"), 3));
    form->session().servers().addOrUpdate(listed(QStringLiteral("127.0.80.3"), FarmPort, QStringLiteral("office"), 3));
    QCOMPARE(columnTexts(ui->LW, ServerListModel::ColumnAddress), QStringList{"127.0.80.2"});
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
