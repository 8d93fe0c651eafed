#include "scan/autoconnectstate.h"
#include "join/launchstate.h"
#include "net/httpfetch.h"
#include "update/updatechecker.h"
#include "join/launcher.h"
#include "support/windowrig.h"
#include "support/fixedlocaladdress.h"
#include "support/fixednetworkcards.h"
#include "scan/serverlistmodel.h"
#include "serverfarm.h"
#include "settings/inifile.h"
#include "settings/settingsmodel.h"
#include "support/recordingprompter.h"
#include "support/recordingshell.h"
#include "ui/aboutbox.h"
#include "ui/autoconnectdialog.h"
#include "ui/settingsdialog.h"
#include "ui/passwordprompt.h"
#include "ui/mainwindow.h"
#include "ui/trayicon.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// Emulated servers of these tests sit on 127.0.82.x at this port.
constexpr int FarmPort = 27415;

QString accessibleName(QObject *object)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(object);
    return face ? face->text(QAccessible::Name) : QString();
}

// The widgets of a window that Tab stops at, in the order it visits them
// (pages of a tab control that are not shown included).
QList<QWidget *> tabStops(QWidget *window)
{
    QList<QWidget *> stops;
    for (QWidget *w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
        // A widget with a focus proxy hands the focus on and is not a stop itself.
        if (w->window() == window && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy())
            stops << w;
    }
    return stops;
}

// The widgets below an accessible object that assistive tools are told can
// take the focus, whatever the widget itself does with it (a tab control is
// announced as focusable and hands the focus on to its tab bar).
void exposedFocusable(QAccessibleInterface *face, QList<QWidget *> &found)
{
    for (int i = 0; i < face->childCount(); ++i) {
        QAccessibleInterface *child = face->child(i);
        if (!child)
            continue;
        auto *widget = qobject_cast<QWidget *>(child->object());
        if (widget && child->state().focusable && !found.contains(widget))
            found << widget;
        exposedFocusable(child, found);
    }
}

// Every widget of a window that can take the focus itself or is exposed as
// focusable, containers included.
QList<QWidget *> focusable(QWidget *window)
{
    QList<QWidget *> found;
    exposedFocusable(QAccessible::queryAccessibleInterface(window), found);
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->window() == window && w->focusPolicy() != Qt::NoFocus && !w->focusProxy() && !found.contains(w))
            found << w;
    }
    return found;
}

// Presses Tab until `target` has the focus; false when a whole round misses it.
bool tabTo(QWidget *target)
{
    for (int presses = 0; presses < 40; ++presses) {
        if (target->hasFocus())
            return true;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    return target->hasFocus();
}

// Runs the action an assistive tool offers for a check box or radio button.
void toggleAsAssistiveTool(QAbstractButton *button)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(button);
    QVERIFY(face && face->actionInterface());
    QVERIFY(face->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    face->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
}

} // namespace

// The five windows as the keyboard and assistive tools reach them: every
// focusable widget named, the Tab order, keys that do what the mouse does, and
// check boxes and radio buttons that act on their state however it changed.
class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void everyFocusableWidgetHasAName_data();
    void everyFocusableWidgetHasAName();
    void minimisedWindowKeepsItsName();
    void keyboardOnlyLaunch_data();
    void keyboardOnlyLaunch();
    void escapeClosesTheDialogs();
    void enterInASettingsFieldPressesNoButton();
    void checkedStateActsHoweverItChanged();

private:
    QWidget *window(const QString &name) const;

    QTemporaryDir dir;
    std::unique_ptr<SettingsModel> settings;
    std::unique_ptr<IniFile> ini;
    RecordingPrompter prompter;
    RecordingShell shell;
    FixedLocalAddress local{QStringLiteral("127.0.0.1")};
    FixedNetworkCards cards;
    std::unique_ptr<HttpFetch> fetch;
    std::unique_ptr<UpdateChecker> updates;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<TSettings> options;
    std::unique_ptr<TFormAbout> about;
    std::unique_ptr<TFormPass> pass;
    std::unique_ptr<TFormAuto> autoDialog;
};

void TestAccessibility::init()
{
    const QString iniPath = dir.filePath(QStringLiteral("vantor.ini"));
    QFile::remove(iniPath);
    QFile file(iniPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Settings]\nBroadcast=0\nScanOld=0\nCheckUpdates=0\nCSPort=" + QByteArray::number(FarmPort) + "\n");
    file.close();

    settings = std::make_unique<SettingsModel>();
    ini = std::make_unique<IniFile>(iniPath);
    prompter = RecordingPrompter();
    shell = RecordingShell();
    fetch = std::make_unique<HttpFetch>();
    updates = std::make_unique<UpdateChecker>(
        UpdateChecker::Services{*fetch, prompter, shell, *settings, [] { return QDate(2024, 1, 1); }},
        QUrl(QStringLiteral("http://127.0.0.1:9/ver.txt")), QStringLiteral("1.0.0.0"));

    // Created as the program creates them.
    form = riggedMainWindow({*settings, prompter, shell, local, cards});
    form->tray().systemTrayAvailable = [] { return false; };
    options = std::make_unique<TSettings>(*settings, *ini, prompter, cards);
    options->loadSettings();
    form->session().setIniFile(ini.get());
    form->applySettings();
    about = std::make_unique<TFormAbout>(*settings, updates.get(), shell);
    pass = std::make_unique<TFormPass>(*settings, *ini, prompter, form->session().launcher());
    autoDialog = std::make_unique<TFormAuto>(*settings, form->session().autoConnect());
}

void TestAccessibility::cleanup()
{
    autoDialog.reset();
    pass.reset();
    about.reset();
    options.reset();
    form.reset();
    updates.reset();
    fetch.reset();
    ini.reset();
    settings.reset();
}

QWidget *TestAccessibility::window(const QString &name) const
{
    const QList<QWidget *> windows{form.get(), options.get(), about.get(), pass.get(), autoDialog.get()};
    for (QWidget *w : windows) {
        if (w->objectName() == name)
            return w;
    }
    return nullptr;
}

void TestAccessibility::everyFocusableWidgetHasAName_data()
{
    QTest::addColumn<QString>("window");
    // Controls that Tab must visit in this order (others may come between).
    QTest::addColumn<QStringList>("order");
    QTest::newRow("main window") << "Form1"
                                 << QStringList{"LW",     "RGGame", "RGHltv",    "SBScanAll", "SBStop",
                                                "SBRefresh", "SBAuto", "SBPlay", "LWPlayers", "LWRules"};
    QTest::newRow("settings") << "Settings"
                              << QStringList{"CBGame",     "RBSteam",      "RBNoSteam",    "EditExe",   "SBExe",
                                             "EditParam",  "BBDefault",    "CBParams",     "BBLeft",    "BBSave",
                                             "CBDclick",   "CBTrans",      "TBTrans",      "CBHL1",     "CBL4D",
                                             "LWranges",   "SBMoveUp",     "SBMoveDown",   "CSport",    "HLTVport",
                                             "SEDelay",    "SBAdd",        "SBDel",        "SBFill",    "CBBroadcast",
                                             "CBLanPorts", "CBOld",      "LVFav",        "EditHost",     "MEPort",    "SpeedButton4",
                                             "SpeedButton5", "CBAutoUpdate", "SEUpdInterval"};
    QTest::newRow("about") << "FormAbout" << QStringList{"checkButton", "autoCheck", "homePage"};
    QTest::newRow("password") << "FormPass" << QStringList{"MEPass", "CBShowPass", "BitBtn1", "BitBtn2"};
    QTest::newRow("auto-connect") << "FormAuto"
                                  << QStringList{"CB", "SPNeed", "CBAsk", "CBPass", "EditPass", "BitBtn1", "BitBtn2"};
}

void TestAccessibility::everyFocusableWidgetHasAName()
{
    QFETCH(QString, window);
    QFETCH(QStringList, order);
    QWidget *w = this->window(window);
    QVERIFY(w);

    QStringList unnamed;
    for (QWidget *widget : focusable(w)) {
        if (accessibleName(widget).trimmed().isEmpty())
            unnamed << QStringLiteral("%1 (%2)").arg(widget->objectName(), widget->metaObject()->className());
    }
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", ")) + QStringLiteral(" without a name")));

    QStringList visited;
    for (QWidget *stop : tabStops(w))
        visited << stop->objectName();
    qsizetype next = 0;
    for (const QString &name : order) {
        const qsizetype at = visited.indexOf(name, next);
        QVERIFY2(at >= 0, qPrintable(QStringLiteral("%1 out of order in: %2").arg(name, visited.join(u'|'))));
        next = at + 1;
    }

    // Pictures speak too.
    for (QLabel *picture : w->findChildren<QLabel *>()) {
        if (!picture->pixmap().isNull())
            QVERIFY2(!accessibleName(picture).isEmpty(), qPrintable(picture->objectName()));
    }
}

void TestAccessibility::minimisedWindowKeepsItsName()
{
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QCOMPARE(accessibleName(form.get()), TForm1::applicationTitle());
    form->showMinimized();
    QTRY_VERIFY(form->isMinimized());
    QCOMPARE(accessibleName(form.get()), TForm1::applicationTitle());

    auto *image = form->findChild<QLabel *>(QStringLiteral("Image"));
    QVERIFY(image);
    QCOMPARE(accessibleName(image), QStringLiteral("Game"));
}

void TestAccessibility::keyboardOnlyLaunch_data()
{
    QTest::addColumn<bool>("doubleClickJoins");
    QTest::newRow("Connect by double click") << true;
    QTest::newRow("double click does not join") << false;
}

void TestAccessibility::keyboardOnlyLaunch()
{
    QFETCH(bool, doubleClickJoins);
    const QJsonArray servers{
        QJsonObject{{"address", "127.0.82.1"}, {"port", FarmPort}, {"dialect", "m"}, {"protocol", 47},
                    {"gameDir", "cstrike"}, {"name", "First"}},
        QJsonObject{{"address", "127.0.82.2"}, {"port", FarmPort}, {"dialect", "m"}, {"protocol", 47},
                    {"gameDir", "cstrike"}, {"name", "Second"}},
    };
    ServerFarm farm;
    QVERIFY2(farm.load(QJsonObject{{"servers", servers}}) && farm.start(), qPrintable(farm.errorString()));
    settings->ranges = {{true, QStringLiteral("127.0.82.1"), QStringLiteral("127.0.82.2")}};
    for (LaunchEntry &entry : settings->games)
        entry.exePath = QStringLiteral("/games/hl");
    options->findChild<QCheckBox *>(QStringLiteral("CBDclick"))->setChecked(doubleClickJoins);

    form->show();
    QApplication::setActiveWindow(form.get());
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    auto *scan = form->findChild<QPushButton *>(QStringLiteral("SBScanAll"));
    auto *list = form->findChild<QTableView *>(QStringLiteral("LW"));
    QVERIFY(scan && list);

    // Tab to Scan and press it with Space; the sweep lists both servers.
    QVERIFY(tabTo(scan));
    QTest::keyClick(scan, Qt::Key_Space);
    QTRY_COMPARE(list->model()->rowCount(), 2);

    // On round to the list: the row under its cursor is selected as the list
    // takes the focus, so its details load; Down moves to the second row.
    auto *play = form->findChild<QPushButton *>(QStringLiteral("SBPlay"));
    QVERIFY(!play->isEnabled());
    QVERIFY(tabTo(list));
    QCOMPARE(form->selectedRow(), 0);
    QVERIFY(play->isEnabled());
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(form->selectedRow(), 1);
    QVERIFY(shell.started.isEmpty());

    // Ctrl+F, a name that leaves the first server alone (the selected second
    // one leaves the view), Enter in the text, Enter in the list.
    QTest::keySequence(list, QKeySequence::Find);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("First"));
    QCOMPARE(list->model()->rowCount(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(list->hasFocus());
    QCOMPARE(form->selectedRow(), form->session().servers().findRow(QStringLiteral("127.0.82.1"), FarmPort));
    QVERIFY(shell.started.isEmpty());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);

    if (doubleClickJoins) {
        const QStringList first{"/games/hl", "-game", "cstrike", "+connect", "127.0.82.1:" + QString::number(FarmPort)};
        QCOMPARE(shell.started, QList<QStringList>{first});
    } else {
        QVERIFY(shell.started.isEmpty());
    }
    QCOMPARE(prompter.shown, QStringList());
}

void TestAccessibility::escapeClosesTheDialogs()
{
    // The dialogs with a Cancel take Escape as Cancel; the others just close.
    form->session().launcher().givePassword(QStringLiteral("secret"));
    for (QWidget *dialog : {static_cast<QWidget *>(options.get()), static_cast<QWidget *>(about.get()),
                            static_cast<QWidget *>(pass.get()), static_cast<QWidget *>(autoDialog.get())}) {
        dialog->show();
        QApplication::setActiveWindow(dialog);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY2(!dialog->isVisible(), qPrintable(dialog->objectName()));
    }
    QVERIFY(!form->session().launcher().state().passwordGiven); // the prompt's Cancel ran
}

void TestAccessibility::enterInASettingsFieldPressesNoButton()
{
    options->show();
    QApplication::setActiveWindow(options.get());
    QVERIFY(QTest::qWaitForWindowActive(options.get()));
    auto *params = options->findChild<QLineEdit *>(QStringLiteral("EditParam"));
    params->setFocus();
    QTest::keyClicks(params, QStringLiteral(" -x"));
    const QString typed = params->text();
    QTest::keyClick(params, Qt::Key_Return);
    QCOMPARE(params->text(), typed);
    QVERIFY(options->isVisible());
}

void TestAccessibility::checkedStateActsHoweverItChanged()
{
    // Through an assistive tool's toggle action, which never clicks.
    auto *hltv = form->findChild<QRadioButton *>(QStringLiteral("RGHltv"));
    auto *game = form->findChild<QRadioButton *>(QStringLiteral("RGGame"));
    toggleAsAssistiveTool(hltv);
    QVERIFY(hltv->isChecked());
    QCOMPARE(settings->gameType, 1);
    QCOMPARE(IniFile(ini->path()).readInteger(QStringLiteral("Settings"), QStringLiteral("GameType"), -1), 1);
    game->setChecked(true);
    QCOMPARE(settings->gameType, 0);
    QCOMPARE(IniFile(ini->path()).readInteger(QStringLiteral("Settings"), QStringLiteral("GameType"), -1), 0);

    const auto check = [](QWidget *owner, const char *name) {
        auto *box = owner->findChild<QAbstractButton *>(QLatin1String(name));
        if (!box)
            qWarning("no %s", name);
        return box;
    };
    settings->steamExePath = QStringLiteral("/opt/steam/steam");
    toggleAsAssistiveTool(check(options.get(), "RBSteam"));
    auto *exe = options->findChild<QLineEdit *>(QStringLiteral("EditExe"));
    QCOMPARE(exe->text(), settings->steamExePath);
    QCOMPARE(accessibleName(exe), QStringLiteral("Steam path"));
    check(options.get(), "RBNoSteam")->setChecked(true);
    QCOMPARE(accessibleName(exe), QStringLiteral("Exe path"));

    toggleAsAssistiveTool(check(options.get(), "CBTrans"));
    QVERIFY(settings->trans);
    QVERIFY(options->findChild<QSlider *>(QStringLiteral("TBTrans"))->isEnabled());
    toggleAsAssistiveTool(check(options.get(), "CBBroadcast"));
    QVERIFY(settings->broadcast);
    toggleAsAssistiveTool(check(options.get(), "CBOld"));
    QVERIFY(settings->scanOld);
    toggleAsAssistiveTool(check(options.get(), "CBDclick"));
    QVERIFY(!settings->doubleClick);
    QSignalSpy switched(options.get(), &TSettings::favoritesScanSwitched);
    toggleAsAssistiveTool(check(options.get(), "CBAutoUpdate"));
    QVERIFY(settings->favAutoScan);
    QCOMPARE(switched.count(), 1);

    toggleAsAssistiveTool(check(pass.get(), "CBShowPass"));
    QCOMPARE(pass->findChild<QLineEdit *>(QStringLiteral("MEPass"))->echoMode(), QLineEdit::Normal);
    toggleAsAssistiveTool(check(about.get(), "autoCheck"));
    QVERIFY(settings->checkUpdates);
    toggleAsAssistiveTool(check(autoDialog.get(), "CBAsk"));
    QVERIFY(autoDialog->choice().askFirst);
    toggleAsAssistiveTool(check(autoDialog.get(), "CBPass"));
    QVERIFY(autoDialog->choice().passwordEnabled);
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
