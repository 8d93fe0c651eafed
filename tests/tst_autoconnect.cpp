#include "scan/autoconnectstate.h"
#include "join/commandline.h"
#include "join/launcher.h"
#include "join/launchstate.h"
#include "query/queryprotocol.h"
#include "replybuilder.h"
#include "scan/listicons.h"
#include "join/launcher.h"
#include "support/windowrig.h"
#include "support/fixedlocaladdress.h"
#include "support/fixednetworkcards.h"
#include "scan/serverlistmodel.h"
#include "serverfarm.h"
#include "settings/settingsmodel.h"
#include "support/recordingprompter.h"
#include "support/recordingshell.h"
#include "support/testsupport.h"
#include "support/windowcontrols.h"
#include "ui/autoconnectdialog.h"
#include "ui/mainwindow.h"
#include "ui/trayicon.h"

#include <QCheckBox>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

// The watched server of these tests; nothing listens there unless a test starts a farm.
constexpr int TargetPort = 27615;
const QString Target = QStringLiteral("127.0.91.1");
const QString GiveUp = QStringLiteral("Auto connect: Server is down, autoconnect disabled.");
const QString Disabled = QStringLiteral(" Autoconnect disabled");

// The bytes of a Counter-Strike 1.6 server's info reply.
QByteArray infoReply(const QString &address, int port, int players, bool password = false)
{
    ServerConfig server;
    server.password = password ? 1 : 0;
    server.address = QHostAddress(address);
    server.dialect = Dialect::GoldSrc;
    server.protocol = 47;
    server.maxPlayers = 12;
    return goldSrcInfoReply(server, players, quint16(port));
}

} // namespace

// Auto-connect driven through the main window and its dialog: the poll and its
// give-up, the reply check, the join and every way the watch ends.
class TestAutoConnect : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void joinsWhenTheEmulatorFreesAPlace();
    void threshold_data();
    void threshold();
    void giveUp_data();
    void giveUp();
    void secondWatchCountsFromZero();
    void askBeforeJoin_data();
    void askBeforeJoin();
    void repliesGoOnWhileTheQuestionIsOpen();
    void passwordFromTheDialog_data();
    void passwordFromTheDialog();
    void otherServersAreIgnored();
    void joinGoesThroughTheLaunchChecks();
    void userEnds_data();
    void userEnds();
    void playElsewhereEndsTheWatch();
    void joinOutOfSight_data();
    void joinOutOfSight();
    void watchedServerStaysInViewOfTheFilter();

private:
    void reply(int players, const QString &address = Target, int port = TargetPort);
    void startWatching(const QString &comparison, int wanted, bool ask = false);
    void verifyEnded();
    bool gaveUp() const { return prompter.shown.contains(GiveUp); }

    std::unique_ptr<SettingsModel> settings;
    RecordingPrompter prompter;
    RecordingShell shell;
    FixedLocalAddress local{QStringLiteral("127.0.0.1")};
    FixedNetworkCards cards;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<MainWindowControls> ui;
    std::unique_ptr<TFormAuto> dialog;
};

void TestAutoConnect::init()
{
    settings = std::make_unique<SettingsModel>();
    settings->broadcast = false;
    settings->scanOld = false;
    settings->delay = 0;
    settings->csPort = QString::number(TargetPort);
    settings->games[size_t(dispatchGame(QStringLiteral("1.6"))->entry)].exePath = QStringLiteral("/games/hl");
    prompter = RecordingPrompter();
    shell = RecordingShell();
    form = riggedMainWindow({*settings, prompter, shell, local, cards});
    ui = std::make_unique<MainWindowControls>(form.get());
    dialog = std::make_unique<TFormAuto>(*settings, form->session().autoConnect());
    form->show();
}

void TestAutoConnect::cleanup()
{
    dialog.reset();
    ui.reset();
    form.reset();
    settings.reset();
}

void TestAutoConnect::reply(int players, const QString &address, int port)
{
    form->session().protocol().dispatch(datagramFrom(infoReply(address, port, players), address, port));
}

void TestAutoConnect::startWatching(const QString &comparison, int wanted, bool ask)
{
    reply(12);
    form->selectRow(form->session().servers().findRow(Target, TargetPort));
    QVERIFY(ui->SBAuto->isEnabled());
    QTest::mouseClick(ui->SBAuto, Qt::LeftButton);
    QVERIFY(dialog->isVisible());
    dialog->CB->setCurrentText(comparison);
    dialog->SPNeed->setValue(wanted);
    dialog->CBAsk->setChecked(ask);
    QTest::mouseClick(dialog->BitBtn1, Qt::LeftButton);

    QVERIFY(form->session().autoConnectState().active);
    QVERIFY(!dialog->isVisible());
    QVERIFY(ui->TimerAuto->isActive());
    QVERIFY(form->tray().cycling());
    QVERIFY(!ui->LW->isEnabled() && !ui->SBScanAll->isEnabled() && !ui->SBRefresh->isEnabled());
    QCOMPARE(ui->SBAuto->palette().color(QPalette::ButtonText), QColor(Qt::red));
    QCOMPARE(form->session().servers().rowCount(), 0);
    // A disabled Auto button is greyed, whatever colour its caption has.
    const QPalette palette = ui->SBAuto->palette();
    QVERIFY(palette.color(QPalette::Disabled, QPalette::ButtonText) != QColor(Qt::red));
}

// The state every end of the watch but a launch leaves behind.
void TestAutoConnect::verifyEnded()
{
    QVERIFY(!form->session().autoConnectState().active);
    QVERIFY(!ui->TimerAuto->isActive());
    QVERIFY(!form->tray().cycling());
    QVERIFY(ui->LW->isEnabled() && ui->SBScanAll->isEnabled() && ui->SBRefresh->isEnabled());
    QCOMPARE(ui->SBAuto->palette().color(QPalette::ButtonText), QColor(Qt::black));
    QVERIFY(ui->SBAuto->palette().color(QPalette::Disabled, QPalette::ButtonText) != QColor(Qt::black));
}

void TestAutoConnect::joinsWhenTheEmulatorFreesAPlace()
{
    ServerFarm farm;
    const QJsonObject server{{"address", Target}, {"port", TargetPort}, {"dialect", "m"}, {"protocol", 47},
                             {"players", 12}, {"maxPlayers", 12}};
    QVERIFY2(farm.load(QJsonObject{{"servers", QJsonArray{server}}}) && farm.start(), qPrintable(farm.errorString()));
    settings->ranges = {{true, Target, Target}};
    QTest::mouseClick(ui->SBScanAll, Qt::LeftButton);
    QTRY_COMPARE(form->session().servers().rowCount(), 1);
    form->selectRow(0);

    QTest::mouseClick(ui->SBAuto, Qt::LeftButton);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Auto connect to ") + Target);
    QCOMPARE(dialog->SPNeed->maximum(), 12);
    QCOMPARE(dialog->SPNeed->value(), 11);
    QCOMPARE(dialog->CB->currentText(), QStringLiteral("<="));
    QTest::mouseClick(dialog->BitBtn1, Qt::LeftButton);
    QCOMPARE(ui->Panels[2]->text(), QStringLiteral(" Auto connect to 127.0.91.1. Waiting <= 11 players"));

    // The query at OK is answered: still full.
    QTRY_COMPARE(form->session().servers().rowCount(), 1);
    QVERIFY(shell.started.isEmpty());
    farm.setPlayers(0, 11);
    form->session().autoConnect().poll();
    QTRY_COMPARE(shell.started.size(), 1);
    QVERIFY(shell.started[0].contains(Target + QStringLiteral(":27615")));
    QVERIFY(!form->session().autoConnectState().active);
    QVERIFY(!ui->TimerAuto->isActive());
    QCOMPARE(ui->Panels[2]->text(), Disabled);
}

void TestAutoConnect::threshold_data()
{
    QTest::addColumn<QString>("comparison");
    QTest::addColumn<int>("wanted");
    QTest::addColumn<QList<int>>("players");
    QTest::addColumn<int>("joinAt"); // index into players, -1: never

    QTest::newRow("<= joins at the count") << "<=" << 11 << QList<int>{12, 11, 3} << 1;
    QTest::newRow("<= joins below it") << "<=" << 11 << QList<int>{12, 12, 4} << 2;
    QTest::newRow("> waits at the count") << ">" << 5 << QList<int>{5, 6} << 1;
    QTest::newRow("> never below it") << ">" << 5 << QList<int>{0, 5, 4} << -1;
}

void TestAutoConnect::threshold()
{
    QFETCH(QString, comparison);
    QFETCH(int, wanted);
    QFETCH(QList<int>, players);
    QFETCH(int, joinAt);

    startWatching(comparison, wanted);
    for (int i = 0; i < players.size(); ++i) {
        reply(players[i]);
        const bool joined = joinAt >= 0 && i >= joinAt;
        QCOMPARE(shell.started.size(), joined ? 1 : 0);
        QCOMPARE(form->session().autoConnectState().active, !joined);
        QCOMPARE(form->session().servers().rowCount(), 1);
        QCOMPARE(form->session().servers().row(0).playersText, QString::number(players[i]) + QStringLiteral("/12"));
    }
}

void TestAutoConnect::giveUp_data()
{
    QTest::addColumn<QString>("events"); // t: a tick, r: an answer of the target
    QTest::addColumn<bool>("gaveUp");

    QTest::newRow("four silent ticks") << "tttt" << true;
    QTest::newRow("three silent ticks") << "ttt" << false;
    QTest::newRow("an answer resets the count") << "tttrttt" << false;
    QTest::newRow("four after the answer") << "tttrtttt" << true;
}

void TestAutoConnect::giveUp()
{
    QFETCH(QString, events);
    QFETCH(bool, gaveUp);

    startWatching(QStringLiteral("<="), 11);
    for (QChar event : events) {
        QVERIFY(!this->gaveUp());
        if (event == QLatin1Char('t'))
            form->session().autoConnect().poll();
        else
            reply(12);
    }
    QCOMPARE(this->gaveUp(), gaveUp);
    if (gaveUp) {
        verifyEnded();
        QCOMPARE(ui->Panels[2]->text(), Disabled);
    } else {
        QVERIFY(form->session().autoConnectState().active);
    }
}

void TestAutoConnect::secondWatchCountsFromZero()
{
    startWatching(QStringLiteral("<="), 11);
    for (int i = 0; i < 4; ++i)
        form->session().autoConnect().poll();
    QCOMPARE(prompter.shown.count(GiveUp), 1);

    startWatching(QStringLiteral("<="), 11);
    for (int i = 0; i < 3; ++i)
        form->session().autoConnect().poll();
    QVERIFY(form->session().autoConnectState().active);
    form->session().autoConnect().poll();
    QCOMPARE(prompter.shown.count(GiveUp), 2);
}

void TestAutoConnect::askBeforeJoin_data()
{
    QTest::addColumn<bool>("ask");
    QTest::addColumn<bool>("answerYes");

    QTest::newRow("no question") << false << false;
    QTest::newRow("yes") << true << true;
    QTest::newRow("no") << true << false;
}

void TestAutoConnect::askBeforeJoin()
{
    QFETCH(bool, ask);
    QFETCH(bool, answerYes);

    prompter.answerYes = answerYes;
    startWatching(QStringLiteral("<="), 11, ask);
    reply(10);

    const QString question = QStringLiteral("question: There are 10 players now on server 127.0.91.1. Do you want to join ?");
    QCOMPARE(prompter.shown.contains(question), ask);
    QCOMPARE(prompter.beeps, ask ? 1 : 0);
    const bool joined = !ask || answerYes;
    QCOMPARE(shell.started.size(), joined ? 1 : 0);
    QVERIFY(!form->session().autoConnectState().active);
    QCOMPARE(ui->Panels[2]->text(), Disabled);
    QCOMPARE(form->selectedRow(), 0);
    if (!joined) {
        verifyEnded();
        QVERIFY(ui->SBPlay->isEnabled());
    }
}

void TestAutoConnect::repliesGoOnWhileTheQuestionIsOpen()
{
    // The watched server answers through the network.
    ServerFarm farm;
    const QJsonObject server{{"address", Target}, {"port", TargetPort}, {"dialect", "m"}, {"protocol", 47},
                             {"players", 12}, {"maxPlayers", 12}};
    QVERIFY2(farm.load(QJsonObject{{"servers", QJsonArray{server}}}) && farm.start(), qPrintable(farm.errorString()));
    prompter.holdQuestions = true;
    startWatching(QStringLiteral("<="), 11, true);
    farm.setPlayers(0, 10);
    form->session().autoConnect().poll();
    QTRY_COMPARE(prompter.openQuestions(), 1);
    QVERIFY(!form->session().autoConnectState().active);
    QVERIFY(shell.started.isEmpty());

    // While the question is open, replies are read and the row follows its server.
    const auto playersShown = [&] {
        const int row = form->session().servers().findRow(Target, TargetPort);
        return row < 0 ? QString() : form->session().servers().row(row).playersText;
    };
    QTRY_COMPARE(playersShown(), QStringLiteral("10/12"));
    farm.setPlayers(0, 4);
    QVERIFY(form->session().protocol().sendInfoRequest(Target, TargetPort));
    QTRY_COMPARE(playersShown(), QStringLiteral("4/12"));
    QCOMPARE(prompter.openQuestions(), 1);
    QVERIFY(shell.started.isEmpty());

    prompter.answer(true);
    QCOMPARE(shell.started.size(), 1);
    QVERIFY(shell.started[0].contains(Target + QStringLiteral(":27615")));
    QCOMPARE(ui->Panels[2]->text(), Disabled);
    QVERIFY(ui->SBRefresh->isEnabled());
}

void TestAutoConnect::passwordFromTheDialog_data()
{
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("given");
    QTest::addColumn<QStringList>("tail");

    QTest::newRow("typed") << true << "secret" << true << QStringList{"+password", "secret"};
    QTest::newRow("not checked") << false << "secret" << false << QStringList{"+password", "old"};
    QTest::newRow("checked but empty") << true << "" << false << QStringList{"+password", "old"};
}

void TestAutoConnect::passwordFromTheDialog()
{
    QFETCH(bool, checked);
    QFETCH(QString, typed);
    QFETCH(bool, given);
    QFETCH(QStringList, tail);

    // A password given before and used up by its launch.
    form->session().launcher().givePassword(QStringLiteral("old"));
    form->session().launcher().withdrawPassword();
    QVERIFY(!dialog->EditPass->isEnabled());
    dialog->CBPass->setChecked(checked);
    QCOMPARE(dialog->EditPass->isEnabled(), checked);
    dialog->EditPass->setText(typed);
    startWatching(QStringLiteral("<="), 11);
    QCOMPARE(form->session().launcher().state().passwordGiven, given);

    reply(11);
    QCOMPARE(shell.started.size(), 1);
    QCOMPARE(shell.started[0].mid(shell.started[0].size() - 2), tail);
    QVERIFY(!form->session().launcher().state().passwordGiven);
}

void TestAutoConnect::otherServersAreIgnored()
{
    startWatching(QStringLiteral("<="), 11);
    reply(12);
    form->session().autoConnect().poll();
    form->session().autoConnect().poll();
    form->session().autoConnect().poll();
    // A scan's late answers: another address, another port; both would meet the threshold.
    reply(0, QStringLiteral("127.0.91.2"));
    reply(0, Target, TargetPort + 1);

    QCOMPARE(form->session().servers().rowCount(), 1);
    QCOMPARE(form->session().servers().row(0).playersText, QStringLiteral("12/12"));
    QVERIFY(shell.started.isEmpty());
    form->session().autoConnect().poll();
    QVERIFY(gaveUp());
}

void TestAutoConnect::joinGoesThroughTheLaunchChecks()
{
    // A passworded target and no password in the dialog: the join asks for it.
    QSignalSpy passwordAsked(form.get(), &TForm1::passwordRequested);
    form->session().protocol().dispatch(datagramFrom(infoReply(Target, TargetPort, 12, true), Target, TargetPort));
    form->selectRow(0);
    QTest::mouseClick(ui->SBAuto, Qt::LeftButton);
    QTest::mouseClick(dialog->BitBtn1, Qt::LeftButton);
    QVERIFY(form->session().autoConnectState().active);

    // The comparison is read from the hidden dialog at each reply.
    dialog->CB->setCurrentText(QStringLiteral(">"));
    form->session().protocol().dispatch(datagramFrom(infoReply(Target, TargetPort, 5, true), Target, TargetPort));
    QVERIFY(form->session().autoConnectState().active);
    QCOMPARE(passwordAsked.count(), 0);
    form->session().protocol().dispatch(datagramFrom(infoReply(Target, TargetPort, 12, true), Target, TargetPort));
    QVERIFY(!form->session().autoConnectState().active);
    QCOMPARE(passwordAsked.count(), 1);
    QVERIFY(shell.started.isEmpty());
}

void TestAutoConnect::userEnds_data()
{
    QTest::addColumn<bool>("cancel"); // else the Auto button while waiting
    QTest::addColumn<bool>("autoScan");
    QTest::addColumn<QString>("message");

    QTest::newRow("stop") << false << false << Disabled;
    QTest::newRow("stop with auto-scan") << false << true << " Autoscan enabled";
    QTest::newRow("cancel") << true << false << Disabled;
    QTest::newRow("cancel with auto-scan") << true << true << " Autoscan enabled";
}

void TestAutoConnect::userEnds()
{
    QFETCH(bool, cancel);
    QFETCH(bool, autoScan);
    QFETCH(QString, message);

    settings->favAutoScan = autoScan;
    reply(12);
    form->selectRow(0);
    QTest::mouseClick(ui->SBAuto, Qt::LeftButton);
    QVERIFY(!ui->TimerFav->isActive());
    // Showing the window again keeps the pause while auto-connect holds it.
    form->hide();
    form->show();
    QVERIFY(!ui->TimerFav->isActive());
    if (cancel) {
        dialog->reject(); // the close box and Escape end here
    } else {
        QTest::mouseClick(dialog->BitBtn1, Qt::LeftButton);
        QVERIFY(!ui->SBPlay->isEnabled());
        form->hide();
        form->show();
        QVERIFY(!ui->TimerFav->isActive());
        QTest::mouseClick(ui->SBAuto, Qt::LeftButton);
        verifyEnded();
    }
    QVERIFY(!form->session().autoConnectState().active);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(ui->TimerFav->isActive(), autoScan);
    QCOMPARE(ui->Panels[2]->text(), message);
}

void TestAutoConnect::playElsewhereEndsTheWatch()
{
    startWatching(QStringLiteral("<="), 11);
    ServerRow chosen;
    chosen.caption = QStringLiteral("1.6");
    chosen.address = QStringLiteral("127.0.91.2");
    chosen.portText = QStringLiteral("27016");
    chosen.accessIcon = IconFree;
    form->session().launcher().play(chosen);

    QCOMPARE(shell.started.size(), 1);
    QVERIFY(shell.started[0].contains(QStringLiteral("127.0.91.2:27016")));
    QVERIFY(!form->session().autoConnectState().active);
    QVERIFY(!ui->TimerAuto->isActive());
    QVERIFY(!form->tray().cycling());
    QVERIFY(ui->SBScanAll->isEnabled());
    QCOMPARE(ui->SBAuto->palette().color(QPalette::ButtonText), QColor(Qt::black));
    QCOMPARE(ui->Panels[2]->text(), Disabled);
    // A place freed on the watched server later pulls nobody away.
    reply(0);
    QCOMPARE(shell.started.size(), 1);
}

void TestAutoConnect::joinOutOfSight_data()
{
    QTest::addColumn<bool>("trayAvailable");
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<bool>("announced");

    QTest::newRow("hidden to the tray") << true << true << true;
    QTest::newRow("minimised, no tray") << false << true << false;
    QTest::newRow("in sight") << true << false << false;
}

void TestAutoConnect::joinOutOfSight()
{
    QFETCH(bool, trayAvailable);
    QFETCH(bool, hidden);
    QFETCH(bool, announced);
    form->tray().systemTrayAvailable = [=] { return trayAvailable; };
    QStringList messages;
    form->tray().showMessage = [&](const QString &title, const QString &text) { messages << title + u'|' + text; };

    startWatching(QStringLiteral("<="), 11);
    if (hidden)
        form->Hide1Click();
    reply(11);
    QCOMPARE(shell.started.size(), 1);
    QCOMPARE(messages, announced ? QStringList{"Auto connect|Joining 127.0.91.1:27615"} : QStringList());
}

void TestAutoConnect::watchedServerStaysInViewOfTheFilter()
{
    startWatching(QStringLiteral(">"), 11);
    auto *hideFull = form->findChild<QCheckBox *>(QStringLiteral("CBHideFull"));
    QVERIFY(hideFull);
    QTest::mouseClick(hideFull, Qt::LeftButton);
    QVERIFY(hideFull->isChecked());

    // The join comes when the server fills up, which the filter would hide.
    reply(12);
    QCOMPARE(shell.started.size(), 1);
    QVERIFY(shell.started[0].contains(Target + QStringLiteral(":27615")));
    QCOMPARE(ui->LW->model()->rowCount(), 1);
}

QTEST_MAIN(TestAutoConnect)
#include "tst_autoconnect.moc"
