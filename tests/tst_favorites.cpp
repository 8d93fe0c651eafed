#include "join/autoconnect.h"
#include "net/udpendpoint.h"
#include "scan/favoritesscanscheduler.h"
#include "support/windowrig.h"
#include "support/fixedlocaladdress.h"
#include "support/fixednetworkcards.h"
#include "scan/scanengine.h"
#include "scan/serverlistmodel.h"
#include "serverfarm.h"
#include "settings/favoritesmodel.h"
#include "settings/inifile.h"
#include "support/recordingprompter.h"
#include "support/recordingshell.h"
#include "support/windowcontrols.h"
#include "ui/settingsdialog.h"
#include "ui/mainwindow.h"

#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

// The auto-connect dialog answered OK at once, with its defaults.
class WatchAll : public AutoConnectDialog
{
public:
    void present(const std::optional<AutoConnectSetup> &) override { }
    void dismiss() override { }
    AutoConnectChoice choice() const override { return {}; }
};

// Emulated servers of these tests sit on 127.0.90.x at this port.
constexpr int FarmPort = 27515;
const QString FarmPortText = QString::number(FarmPort);

QJsonObject serverAt(const char *address, int players)
{
    return {{"address", address}, {"port", FarmPort}, {"gameDir", "tf"}, {"players", players}, {"maxPlayers", 16}};
}

ServerInfo listed(const char *address, int port)
{
    ServerInfo info;
    info.gameDir = QStringLiteral("tf");
    info.address = QString::fromLatin1(address);
    info.port = port;
    return info;
}

// The rows of a favourites list as shown: "host:port|host:port".
QString shownRows(const QAbstractItemModel *model)
{
    QStringList rows;
    for (int r = 0; r < model->rowCount(); ++r)
        rows << model->index(r, 0).data().toString() + u':' + model->index(r, 1).data().toString();
    return rows.join(u'|');
}

} // namespace

// The favourites: the settings page, "Add To Favorites" of the server menu and
// the auto-scan timer of the main window.
class TestFavorites : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void addByHand_data();
    void addByHand();
    void editFields();
    void headerClickSorts_data();
    void headerClickSorts();
    void hostColumnWidthIsKeptAndSaved_data();
    void hostColumnWidthIsKeptAndSaved();
    void favoritesSurviveARestart();

    void menuAddsTheSelectedServer();
    void switchAndIntervalDriveTheTimer();
    void tickSkips_data();
    void tickSkips();
    void tickAsksEveryFavoriteAndRowsFollow();
    void hiddenWindowSendsNothing();
    void firstTickFollowsTheStart();

private:
    TSettings &openDialog(const QByteArray &iniText = {});
    TForm1 &openWindow(bool show = true);
    bool startFarm(const QJsonArray &servers);
    int requestsTo(const char *address, const char *kind = "T") const;
    QString iniPath() const { return dir.filePath(QStringLiteral("vantor.ini")); }

    QTemporaryDir dir;
    std::unique_ptr<SettingsModel> settings;
    std::unique_ptr<IniFile> ini;
    RecordingPrompter prompter;
    RecordingShell shell;
    FixedLocalAddress local{QStringLiteral("127.0.0.1")};
    FixedNetworkCards cards;
    std::unique_ptr<TSettings> dialog;
    std::unique_ptr<SettingsControls> dlg;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<MainWindowControls> ui;
    std::unique_ptr<FavoritesModel> favorites;
    std::unique_ptr<ServerFarm> farm;
};

void TestFavorites::init()
{
    settings = std::make_unique<SettingsModel>();
    prompter = RecordingPrompter();
}

void TestFavorites::cleanup()
{
    dlg.reset();
    dialog.reset();
    ui.reset();
    form.reset();
    favorites.reset();
    farm.reset();
    ini.reset();
}

TSettings &TestFavorites::openDialog(const QByteArray &iniText)
{
    dlg.reset();
    dialog.reset();
    *settings = SettingsModel();
    QFile::remove(iniPath());
    QFile file(iniPath());
    if (file.open(QIODevice::WriteOnly))
        file.write(iniText);
    file.close();
    ini = std::make_unique<IniFile>(iniPath());
    dialog = std::make_unique<TSettings>(*settings, *ini, prompter, cards);
    dialog->loadSettings();
    dlg = std::make_unique<SettingsControls>(dialog.get());
    return *dialog;
}

TForm1 &TestFavorites::openWindow(bool show)
{
    settings->broadcast = false;
    settings->scanOld = false;
    form = riggedMainWindow({*settings, prompter, shell, local, cards});
    ui = std::make_unique<MainWindowControls>(form.get());
    favorites = std::make_unique<FavoritesModel>(settings->favorites);
    form->session().setFavorites(favorites.get());
    if (show) {
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            qWarning("main window not exposed");
    }
    return *form;
}

bool TestFavorites::startFarm(const QJsonArray &servers)
{
    farm = std::make_unique<ServerFarm>();
    if (farm->load(QJsonObject{{"servers", servers}}) && farm->start())
        return true;
    qWarning() << farm->errorString();
    return false;
}

int TestFavorites::requestsTo(const char *address, const char *kind) const
{
    const QList<RequestRecord> requests = farm->requests();
    return int(std::count_if(requests.begin(), requests.end(), [&](const RequestRecord &r) {
        return r.serverAddress == QHostAddress(QString::fromLatin1(address)) && r.kind == QLatin1String(kind);
    }));
}

void TestFavorites::addByHand_data()
{
    QTest::addColumn<QStringList>("adds"); // "host|port", in order
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("rows");
    const QString duplicate = QStringLiteral("error: This address is already exist");
    const QString bad = QStringLiteral("error: Bad address");
    QTest::newRow("same host and port twice") << QStringList{"10.0.0.5|27015", "10.0.0.5|27015"}
                                              << QStringList{duplicate} << "10.0.0.5:27015";
    QTest::newRow("same host, another port") << QStringList{"10.0.0.5|27015", "10.0.0.5|27016"} << QStringList()
                                             << "10.0.0.5:27015|10.0.0.5:27016";
    QTest::newRow("a leading zero makes another port") << QStringList{"10.0.0.5|7015", "10.0.0.5|07015"}
                                                       << QStringList() << "10.0.0.5:7015|10.0.0.5:07015";
    QTest::newRow("letter case counts") << QStringList{"Game.lan|27015", "game.lan|27015"} << QStringList()
                                        << "Game.lan:27015|game.lan:27015";
    QTest::newRow("three characters, empty port") << QStringList{"a.b|27015", "game.lan|"} << QStringList{bad, bad}
                                                  << "";
}

void TestFavorites::addByHand()
{
    QFETCH(QStringList, adds);
    QFETCH(QStringList, shown);
    QFETCH(QString, rows);
    TSettings &d = openDialog();
    for (const QString &add : adds) {
        dlg->EditHost->setText(add.section(u'|', 0, 0));
        dlg->MEPort->setText(add.section(u'|', 1));
        d.SpeedButton4Click();
        QCOMPARE(dlg->MEPort->text(), add.section(u'|', 1)); // the fields keep their texts
    }
    QCOMPARE(prompter.shown, shown);
    QCOMPARE(shownRows(dlg->LVFav->model()), rows);
    QCOMPARE(int(settings->favorites.size()), dlg->LVFav->model()->rowCount());
}

void TestFavorites::editFields()
{
    openDialog();
    QVERIFY(!dlg->SpeedButton4->isEnabled());
    QTest::keyClicks(dlg->EditHost, QStringLiteral("abc"));
    QVERIFY(!dlg->SpeedButton4->isEnabled());
    QTest::keyClicks(dlg->EditHost, QStringLiteral("d"));
    QVERIFY(dlg->SpeedButton4->isEnabled());

    QCOMPARE(dlg->MEPort->text(), QStringLiteral("27015"));
    dlg->MEPort->clear();
    QTest::keyClicks(dlg->MEPort, QStringLiteral("9x8-76543"));
    QCOMPARE(dlg->MEPort->text(), QStringLiteral("98765"));
    QCOMPARE(prompter.beeps, 2);
    QTest::mouseClick(dlg->SpeedButton4, Qt::LeftButton);
    QCOMPARE(shownRows(dlg->LVFav->model()), QStringLiteral("abcd:98765"));
}

void TestFavorites::headerClickSorts_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("rows");
    // Listed as b.lan:27016, A.lan:27015, c.lan:2700, a.lan:27020; "A.lan" is selected.
    QTest::newRow("host, letter case ignored, ties kept in order")
        << int(FavoritesModel::ColumnHost) << "A.lan:27015|a.lan:27020|b.lan:27016|c.lan:2700";
    QTest::newRow("port as text") << int(FavoritesModel::ColumnPort)
                                  << "c.lan:2700|A.lan:27015|b.lan:27016|a.lan:27020";
}

void TestFavorites::headerClickSorts()
{
    QFETCH(int, column);
    QFETCH(QString, rows);
    TSettings &d = openDialog("[Favorites]\nb.lan 0=27016\nA.lan 1=27015\nc.lan 2=2700\na.lan 3=27020\n");
    int shared = -1;
    d.favorites().shareSortColumn(shared);
    dlg->PageControl->setCurrentIndex(TSettings::FavoritesPage);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    d.selectFavorite(1);

    QHeaderView *header = dlg->LVFav->horizontalHeader();
    for (int click = 0; click < 2; ++click) { // no direction toggle
        const QPoint middle(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                            header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, middle);
        QCOMPARE(shownRows(dlg->LVFav->model()), rows);
    }
    QCOMPARE(shared, column);
    QCOMPARE(dlg->LVFav->model()->index(d.selectedFavorite(), 0).data().toString(), QStringLiteral("A.lan"));
}

void TestFavorites::hostColumnWidthIsKeptAndSaved_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("kept");
    QTest::newRow("within") << 90 << 90;
    QTest::newRow("too wide") << 200 << 110;
    QTest::newRow("too narrow") << 20 << 70;
}

void TestFavorites::hostColumnWidthIsKeptAndSaved()
{
    QFETCH(int, width);
    QFETCH(int, kept);
    TSettings &d = openDialog("[Settings]\nFavWidth=95\n");
    QHeaderView *header = dlg->LVFav->horizontalHeader();
    QCOMPARE(header->sectionSize(FavoritesModel::ColumnHost), 95);
    header->resizeSection(FavoritesModel::ColumnHost, width);
    QCOMPARE(header->sectionSize(FavoritesModel::ColumnHost), kept);
    // The port column's bounds follow the font; 100 more pixels are beyond them.
    const int portWidth = header->sectionSize(FavoritesModel::ColumnPort);
    header->resizeSection(FavoritesModel::ColumnPort, portWidth + 100);
    QCOMPARE(header->sectionSize(FavoritesModel::ColumnPort), portWidth + 5);

    d.saveSettings();
    QCOMPARE(IniFile(iniPath()).readInteger(QStringLiteral("Settings"), QStringLiteral("FavWidth"), 0), kept);
}

void TestFavorites::favoritesSurviveARestart()
{
    TSettings &d = openDialog("[Favorites]\nsrv.lan 0=27016\n10.0.0.5 7=27020\n10.0.0.5 9=27015\n");
    QCOMPARE(shownRows(dlg->LVFav->model()), QStringLiteral("srv.lan:27016|10.0.0.5:27020|10.0.0.5:27015"));
    dlg->EditHost->setText(QStringLiteral("host"));
    d.SpeedButton4Click();
    d.selectFavorite(-1);
    d.SpeedButton5Click(); // nothing selected: nothing deleted
    d.selectFavorite(0);
    d.SpeedButton5Click();
    d.LVFavColumnClick(FavoritesModel::ColumnPort);
    const QString sorted = QStringLiteral("10.0.0.5:27015|host:27015|10.0.0.5:27020");
    QCOMPARE(shownRows(dlg->LVFav->model()), sorted);

    d.saveSettings();
    IniFile written(iniPath());
    QCOMPARE(written.readSection(QStringLiteral("Favorites")), (QStringList{"10.0.0.5 0", "host 1", "10.0.0.5 2"}));
    QFile file(iniPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    file.close();
    openDialog(saved);
    QCOMPARE(shownRows(dlg->LVFav->model()), sorted);
}

void TestFavorites::menuAddsTheSelectedServer()
{
    TForm1 &w = openWindow();
    w.session().servers().addOrUpdate(listed("127.0.90.7", 27016));
    w.session().addSelectedToFavorites(); // no row selected
    QCOMPARE(settings->favorites.size(), 0);

    w.selectRow(0);
    w.session().addSelectedToFavorites();
    w.session().addSelectedToFavorites();
    QCOMPARE(shownRows(favorites.get()), QStringLiteral("127.0.90.7:27016"));
    QCOMPARE(prompter.shown, QStringList{"error: This address is already exist"});
}

void TestFavorites::switchAndIntervalDriveTheTimer()
{
    TSettings &d = openDialog("[Settings]\nUpdInterval=30\n");
    TForm1 &w = openWindow();
    w.applySettings();
    connect(&d, &TSettings::favoritesScanSwitched, &w.session(), &ScanSession::switchFavoritesScan);
    connect(&d, &TSettings::favoritesIntervalChanged, &w.session(), &ScanSession::setFavoritesInterval);
    QCOMPARE(ui->TimerFav->interval(), 30000);
    QVERIFY(!ui->TimerFav->isActive());

    dlg->CBAutoUpdate->click();
    QVERIFY(settings->favAutoScan && ui->TimerFav->isActive());
    QCOMPARE(ui->Panels[2]->text(), QStringLiteral(" Autoscan enabled"));
    dlg->SEUpdInterval->stepUp();
    QCOMPARE(ui->TimerFav->interval(), 31000);
    QVERIFY(ui->TimerFav->isActive());

    // Auto-connect holds it and lets it go again.
    w.session().holdFavoritesScan();
    QVERIFY(!ui->TimerFav->isActive());
    w.session().resumeFavoritesScan();
    QVERIFY(ui->TimerFav->isActive());

    // A turn shows its activity in panel 0.
    QVERIFY(startFarm({serverAt("127.0.90.1", 3)}));
    settings->favorites = {{QStringLiteral("127.0.90.1"), FarmPortText}};
    w.session().favoritesTurnDue();
    QCOMPARE(ui->Panels[0]->text(), QStringLiteral(" Autoscaning..."));
    dlg->CBAutoUpdate->click();
    QVERIFY(!settings->favAutoScan && !ui->TimerFav->isActive());
    QCOMPARE(ui->Panels[0]->text(), QString());
    QCOMPARE(ui->Panels[2]->text(), QStringLiteral(" Autoscan disabled"));
    w.session().resumeFavoritesScan();
    QVERIFY(!ui->TimerFav->isActive());
}

void TestFavorites::tickSkips_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("buttonsAfter"); // Play and Auto enabled after the tick
    QTest::addColumn<int>("intervalAfter");
    QTest::newRow("idle") << "idle" << true << false << 10000;
    // The sweep itself disables Play and Auto; the skipped turn keeps the quick interval.
    QTest::newRow("sweep running") << "sweep" << false << false << FavoritesScanScheduler::FirstTickMs;
    QTest::newRow("after a sweep, Scan still disabled") << "cool-down" << false << false << 10000;
    QTest::newRow("no favourites") << "empty" << false << false << 10000;
    QTest::newRow("auto-connect waits") << "auto-connect" << false << true << FavoritesScanScheduler::FirstTickMs;
}

void TestFavorites::tickSkips()
{
    QFETCH(QString, state);
    QFETCH(bool, asked);
    QFETCH(bool, buttonsAfter);
    QFETCH(int, intervalAfter);
    QVERIFY(startFarm({serverAt("127.0.90.1", 3)}));
    TForm1 &w = openWindow();
    if (state != QLatin1String("empty"))
        settings->favorites = {{QStringLiteral("127.0.90.1"), FarmPortText}};
    if (state == QLatin1String("cool-down")) {
        QTest::mouseClick(ui->SBScanAll, Qt::LeftButton);
        while (w.session().engine().sweepRunning())
            w.session().engine().sweepStep();
        // The countdown keeps Scan disabled for as long as the test needs.
        ui->Timer->stop();
        QVERIFY(!ui->SBScanAll->isEnabled());
    }
    w.session().servers().addOrUpdate(listed("127.0.90.9", FarmPort));
    w.selectRow(w.session().servers().findRow(QStringLiteral("127.0.90.9"), FarmPort));
    QVERIFY(ui->SBPlay->isEnabled() && ui->SBAuto->isEnabled());
    ui->TimerFav->setInterval(FavoritesScanScheduler::FirstTickMs);
    // Auto-connect waits for the selected server: the list shows only it.
    WatchAll watch;
    if (state == QLatin1String("auto-connect")) {
        w.session().autoConnect().setDialog(&watch);
        w.session().toggleAutoConnect();
        w.session().autoConnect().watchSelected();
        QVERIFY(w.session().autoConnectState().active);
    }
    const bool playBefore = ui->SBPlay->isEnabled();
    const bool autoBefore = ui->SBAuto->isEnabled();

    // The datagrams the turn sends, counted as they leave.
    int sent = 0;
    int sentByTurn = 0;
    const QObject counting;
    QObject::connect(&w.session().endpoint(), &UdpEndpoint::datagramSent, &counting, [&] { ++sent; });
    const auto turn = [&] {
        const int before = sent;
        w.session().favoritesTurnDue();
        sentByTurn = sent - before;
    };
    if (state == QLatin1String("sweep")) {
        // The turn comes between two steps of the sweep.
        QTest::mouseClick(ui->SBScanAll, Qt::LeftButton);
        QVERIFY(w.session().engine().sweepRunning());
        turn();
        while (w.session().engine().sweepRunning())
            w.session().engine().sweepStep();
    } else {
        turn();
    }

    // A skipped turn leaves the buttons as they were.
    QCOMPARE(ui->SBPlay->isEnabled(), buttonsAfter && playBefore);
    QCOMPARE(ui->SBAuto->isEnabled(), buttonsAfter && autoBefore);
    QCOMPARE(ui->TimerFav->interval(), intervalAfter);
    QCOMPARE(sentByTurn, asked ? 1 : 0);
    if (asked) {
        QTRY_COMPARE(requestsTo("127.0.90.1"), 1);
        QCOMPARE(ui->Panels[0]->text(), QStringLiteral(" Autoscaning..."));
    }
}

void TestFavorites::tickAsksEveryFavoriteAndRowsFollow()
{
    QVERIFY(startFarm({serverAt("127.0.90.1", 3), serverAt("127.0.90.3", 5)}));
    TForm1 &w = openWindow();
    settings->scanOld = true;
    // A port that is no number can only come from the file; it costs one network error.
    settings->favorites = {{QStringLiteral("127.0.90.1"), FarmPortText},
                           {QStringLiteral("127.0.90.2"), QStringLiteral("27x")},
                           {QStringLiteral("127.0.90.3"), FarmPortText}};
    w.session().favoritesTurnDue();
    // One favourite to a step of the turn.
    QTRY_COMPARE(ui->Panels[2]->text(), QStringLiteral(" Network error..."));
    for (const char *address : {"127.0.90.1", "127.0.90.3"}) {
        QTRY_COMPARE(requestsTo(address), 1);
        QTRY_COMPARE(requestsTo(address, "infostring"), 1);
    }
    QTRY_COMPARE(w.session().servers().rowCount(), 2);
    const int first = w.session().servers().findRow(QStringLiteral("127.0.90.1"), FarmPort);
    QVERIFY(first >= 0);
    QCOMPARE(w.session().servers().row(first).playersText, QStringLiteral("3/16"));

    // A listed favourite that is selected: the tick refreshes it and leaves Play and Auto off.
    w.selectRow(first);
    farm->setPlayers(0, 7);
    w.session().favoritesTurnDue();
    QTRY_COMPARE(w.session().servers().row(first).playersText, QStringLiteral("7/16"));
    QCOMPARE(w.session().servers().rowCount(), 2);
    QVERIFY(!ui->SBPlay->isEnabled() && !ui->SBAuto->isEnabled());
}

void TestFavorites::hiddenWindowSendsNothing()
{
    QVERIFY(startFarm({serverAt("127.0.90.1", 3)}));
    settings->favAutoScan = true;
    settings->favorites = {{QStringLiteral("127.0.90.1"), FarmPortText}};
    TForm1 &w = openWindow();
    QVERIFY(ui->TimerFav->isActive());

    w.hide();
    QVERIFY(!ui->TimerFav->isActive());
    // A quick period, so that the turn after showing comes at once.
    ui->TimerFav->setInterval(20);
    QVERIFY(!ui->TimerFav->isActive());

    w.show();
    QTRY_COMPARE(requestsTo("127.0.90.1"), 1);
}

void TestFavorites::firstTickFollowsTheStart()
{
    QVERIFY(startFarm({serverAt("127.0.90.1", 3)}));
    TForm1 &w = openWindow(false);
    settings->favorites = {{QStringLiteral("127.0.90.1"), FarmPortText}};
    settings->favAutoScan = true;
    settings->favFirstTickPending = true;
    w.applySettings();
    QCOMPARE(ui->Panels[2]->text(), QStringLiteral(" Autoscan enabled"));
    QCOMPARE(ui->TimerFav->interval(), FavoritesScanScheduler::FirstTickMs);

    w.show();
    QVERIFY(ui->TimerFav->isActive());
    QTRY_COMPARE(requestsTo("127.0.90.1"), 1);
    QCOMPARE(ui->TimerFav->interval(), 10000);
    QVERIFY(ui->TimerFav->isActive());
    QTRY_COMPARE(w.session().servers().rowCount(), 1);
}

QTEST_MAIN(TestFavorites)
#include "tst_favorites.moc"
