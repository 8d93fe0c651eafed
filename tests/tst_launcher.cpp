#include "scan/autoconnectstate.h"
#include "join/commandline.h"
#include "join/launcher.h"
#include "join/launchstate.h"
#include "scan/listicons.h"
#include "settings/settingsmodel.h"
#include "support/recordingprompter.h"
#include "support/recordingshell.h"
#include "ui/desktopservices.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Fixture
{
    SettingsModel settings;
    AutoConnectState autoConnect;
    // Everything the launch does to the outside, in order.
    QStringList log;
    RecordingPrompter prompter{log};
    RecordingShell shell{log};
    Launcher launcher{settings, autoConnect, prompter, shell};

    Fixture()
    {
        QObject::connect(&launcher, &Launcher::trayAnimationStopped, [this] { log << "tray"; });
        QObject::connect(&launcher, &Launcher::autoConnectEnded,
                         [this](const QString &text) { log << "autoEnded:" + text; });
        QObject::connect(&launcher, &Launcher::revealWindowRequested, [this] { log << "reveal"; });
        QObject::connect(&launcher, &Launcher::hideWindowRequested, [this] { log << "hide"; });
        QObject::connect(&launcher, &Launcher::passwordRequested, [this] { log << "prompt"; });
        for (int i = 0; i < LaunchGameCount; ++i)
            settings.games[size_t(i)].exePath = "/games/" + QString::number(i);
        settings.steamExePath = "/steam/steam";
    }
};

ServerRow row(const QString &code, int access = IconFree, const QString &address = "127.0.0.5",
              const QString &port = "27015")
{
    ServerRow r;
    r.caption = code;
    r.address = address;
    r.portText = port;
    r.accessIcon = access;
    return r;
}

} // namespace

class TestLauncher : public QObject
{
    Q_OBJECT

private slots:
    void argumentString_data();
    void argumentString();
    void everyCode_data();
    void everyCode();
    void unknownGame_data();
    void unknownGame();
    void accessIcon_data();
    void accessIcon();
    void launchEndsAutoConnect();
    void noRowDoesNothing();
    void splitCommandLine_data();
    void splitCommandLine();
    void realProgramReceivesArguments();
};

void TestLauncher::argumentString_data()
{
    QTest::addColumn<QString>("params");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("expected");

    QTest::newRow("direct") << "-game cstrike" << "27015" << "" << "-game cstrike +connect 127.0.0.5:27015 ";
    QTest::newRow("steam") << "-applaunch 10" << "27015" << "" << "-applaunch 10 +connect 127.0.0.5:27015 ";
    QTest::newRow("password") << "-game cstrike" << "27016" << "+password secret"
                              << "-game cstrike +connect 127.0.0.5:27016 +password secret";
    QTest::newRow("empty params") << "" << "27015" << "" << " +connect 127.0.0.5:27015 ";
    QTest::newRow("port text unchanged") << "-game dod" << "027015" << "" << "-game dod +connect 127.0.0.5:027015 ";
    QTest::newRow("blank password") << "-console" << "27015" << "+password  " << "-console +connect 127.0.0.5:27015 +password  ";
}

void TestLauncher::argumentString()
{
    QFETCH(QString, params);
    QFETCH(QString, port);
    QFETCH(QString, password);
    QFETCH(QString, expected);
    QCOMPARE(launchArguments(params, "127.0.0.5", port, password), expected);
}

void TestLauncher::everyCode_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("params");
    QTest::addColumn<QString>("steamParams");
    QTest::addColumn<QString>("prefix");

    // The entry each code starts, that entry's built-in parameters and the
    // start of its empty-path message.
    QTest::newRow("1.6") << "1.6" << 3 << "-game cstrike" << "-applaunch 10" << "CS 1.6 ";
    QTest::newRow("1.5") << "1.5" << 2 << "-game cstrike -console" << "-applaunch 10" << "CS1.5 ";
    QTest::newRow("CZ") << "CZ" << 4 << "-game czero" << "-applaunch 80" << "CZero ";
    QTest::newRow("CSS") << "CSS" << 5 << "-steam -game cstrike -console" << "-applaunch 240" << "CSS ";
    QTest::newRow("CSP") << "CSP" << 6 << "-steam -game cspromod" << "-applaunch 240" << "CSP ";
    QTest::newRow("HL") << "HL" << 0 << "-console" << "-applaunch 10" << "HL ";
    QTest::newRow("HL2") << "HL2" << 1 << "-steam -game hl2mp" << "-applaunch 220" << "HL2 ";
    QTest::newRow("DM") << "DM" << 1 << "-steam -game hl2mp" << "-applaunch 220" << "HL2 ";
    QTest::newRow("TDM") << "TDM" << 1 << "-steam -game hl2mp" << "-applaunch 220" << "HL2 ";
    QTest::newRow("CTF") << "CTF" << 1 << "-steam -game hl2mp" << "-applaunch 220" << "HL2 ";
    QTest::newRow("DOD") << "DOD" << 7 << "-game dod" << "-applaunch 30" << "HL ";
    QTest::newRow("DODS") << "DODS" << 8 << "-game dod" << "-applaunch 300" << "HL2 ";
    QTest::newRow("GMOD") << "GMOD" << 11 << "-game gmod" << "-applaunch 4000" << "HL2 ";
    QTest::newRow("TFC") << "TFC" << 9 << "-game tfc" << "-applaunch 20" << "HL ";
    QTest::newRow("TF2") << "TF2" << 10 << "-game tf" << "-applaunch 440" << "HL2 ";
    QTest::newRow("DMC") << "DMC" << 12 << "-game dmc" << "-applaunch 40" << "DMC ";
    QTest::newRow("RC") << "RC" << 13 << "-game rc" << "-applaunch 60" << "RC ";
    QTest::newRow("L4D") << "L4D" << 14 << "-game left4dead" << "-applaunch 500" << "L4D ";
}

void TestLauncher::everyCode()
{
    QFETCH(QString, code);
    QFETCH(int, entry);
    QFETCH(QString, params);
    QFETCH(QString, steamParams);
    QFETCH(QString, prefix);

    QStringList expected;
    QStringList log;
    for (const bool steam : {false, true}) {
        for (const QString &password : {QString(), QStringLiteral("pw")}) {
            // A launcher of its own: a password once given stays for every later launch.
            Fixture g;
            for (LaunchEntry &e : g.settings.games)
                e.steam = steam;
            if (!password.isEmpty())
                g.launcher.givePassword(password);
            g.launcher.play(row(code));
            QVERIFY(!g.launcher.state().passwordGiven);
            log << g.log;

            const QString program = steam ? "/steam/steam" : "/games/" + QString::number(entry);
            QStringList args = (steam ? steamParams : params).split(' ');
            args << "+connect" << "127.0.0.5:27015";
            if (!password.isEmpty())
                args << "+password" << "pw";
            expected << "tray" << "start: " + program + '|' + args.join('|') << "hide";
        }
    }

    // Empty paths: the entry's own message without Steam; with Steam the Steam
    // message, although the entry's exe path is set.
    Fixture f;
    for (LaunchEntry &e : f.settings.games)
        e.steam = true;
    f.settings.steamExePath.clear();
    f.launcher.givePassword(QStringLiteral("pw"));
    f.launcher.play(row(code));
    QVERIFY(!f.launcher.state().passwordGiven);
    for (LaunchEntry &e : f.settings.games) {
        e.steam = false;
        e.exePath.clear();
    }
    f.launcher.givePassword(QStringLiteral("pw"));
    f.launcher.play(row(code));
    QVERIFY(!f.launcher.state().passwordGiven);
    QCOMPARE(log, expected);
    QCOMPARE(f.log, (QStringList{"tray", "error: Steam .exe path is empty", "tray",
                                 "error: " + prefix + ".exe path is empty"}));
}

void TestLauncher::unknownGame_data()
{
    QTest::addColumn<QString>("code");
    QTest::newRow("selector item") << "CS1.6";
    QTest::newRow("other case") << "css";
    QTest::newRow("game folder") << "valve";
    QTest::newRow("trailing blank") << "HL ";
    QTest::newRow("empty") << "";
}

void TestLauncher::unknownGame()
{
    QFETCH(QString, code);
    Fixture f;
    f.launcher.givePassword(QStringLiteral("pw"));
    f.launcher.play(row(code, IconPassword));
    QCOMPARE(f.log, (QStringList{"tray", "error: Unknown game: " + code}));
    QVERIFY(f.launcher.state().passwordGiven);
}

void TestLauncher::accessIcon_data()
{
    QTest::addColumn<int>("icon");
    QTest::addColumn<bool>("given");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<bool>("givenAfter");

    const QString start = "start: /games/3|-game|cstrike|+connect|127.0.0.5:27015|+password|old";
    const QString ask = "question: Server is full.  Connect now ?";

    QTest::newRow("free") << int(IconFree) << false << true << QStringList{"tray", start, "hide"} << false;
    QTest::newRow("pending mark") << int(IconUnknown) << true << true << QStringList{"tray", start, "hide"} << false;
    QTest::newRow("full, yes") << int(IconFull) << true << true << QStringList{"tray", "reveal", ask, start, "hide"}
                               << false;
    QTest::newRow("full, no") << int(IconFull) << true << false << QStringList{"tray", "reveal", ask} << true;
    QTest::newRow("password, none given") << int(IconPassword) << false << true << QStringList{"tray", "prompt"}
                                          << false;
    QTest::newRow("password given") << int(IconPassword) << true << true << QStringList{"tray", start, "hide"}
                                    << false;
}

void TestLauncher::accessIcon()
{
    QFETCH(int, icon);
    QFETCH(bool, given);
    QFETCH(bool, answer);
    QFETCH(QStringList, log);
    QFETCH(bool, givenAfter);

    Fixture f;
    f.prompter.answerYes = answer;
    f.launcher.givePassword(QStringLiteral("old"));
    if (!given)
        f.launcher.withdrawPassword();
    f.launcher.play(row("1.6", icon));

    QCOMPARE(f.log, log);
    QCOMPARE(f.launcher.state().passwordGiven, givenAfter);
    QCOMPARE(f.launcher.state().passwordArgument, QStringLiteral("+password old"));
}

void TestLauncher::launchEndsAutoConnect()
{
    Fixture f;
    f.autoConnect.active = true;
    f.autoConnect.targetAddress = "127.0.0.9";
    f.autoConnect.targetPort = 27016;
    f.launcher.play(row("CSS", IconFull, "127.0.0.5", "27015"));

    // The row the user chose, not the watched server.
    QCOMPARE(f.log, (QStringList{"tray", "autoEnded: Autoconnect disabled", "reveal",
                                     "question: Server is full.  Connect now ?",
                                     "start: /games/5|-steam|-game|cstrike|-console|+connect|127.0.0.5:27015", "hide"}));
}

void TestLauncher::noRowDoesNothing()
{
    Fixture f;
    f.autoConnect.active = true;
    f.launcher.givePassword(QStringLiteral("pw"));
    f.launcher.play(std::nullopt);
    QVERIFY(f.log.isEmpty());
    QVERIFY(f.autoConnect.active);
    QVERIFY(f.launcher.state().passwordGiven);
}

void TestLauncher::splitCommandLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("args");

    QTest::newRow("trailing blank") << "-game cstrike +connect 127.0.0.5:27015 "
                                    << QStringList{"-game", "cstrike", "+connect", "127.0.0.5:27015"};
    QTest::newRow("leading blank") << " +connect 127.0.0.5:27015 " << QStringList{"+connect", "127.0.0.5:27015"};
    QTest::newRow("runs of blanks and tabs") << "a  \t b" << QStringList{"a", "b"};
    QTest::newRow("quotes group") << "-name \"two words\" -x" << QStringList{"-name", "two words", "-x"};
    QTest::newRow("quotes inside a word") << "a\"b c\"d" << QStringList{"ab cd"};
    QTest::newRow("unclosed quote") << "-name \"open end" << QStringList{"-name", "open end"};
    QTest::newRow("tripled quote") << "say \"\"\"hi\"\"\"" << QStringList{"say", "\"hi\""};
    QTest::newRow("backslashes are plain") << "C:\\games\\hl.exe \"a\\\" b" << QStringList{"C:\\games\\hl.exe", "a\\", "b"};
    QTest::newRow("shell characters are plain") << "+password $HOME;`x`|y" << QStringList{"+password", "$HOME;`x`|y"};
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("blanks only") << "   " << QStringList{};
}

void TestLauncher::splitCommandLine()
{
    QFETCH(QString, line);
    QFETCH(QStringList, args);
    QCOMPARE(::splitCommandLine(line), args);
}

void TestLauncher::realProgramReceivesArguments()
{
#ifdef Q_OS_WIN
    QSKIP("The recording program is a POSIX shell script");
#else
    // A copy in a folder with a blank in its name: a path that a shell would split.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir("game folder"));
    const QString program = dir.filePath("game folder/hl");
    QVERIFY(QFile::copy(QStringLiteral(VANTOR_TESTDATA_DIR "/echoargs.sh"), program));
    QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QString argsFile = dir.filePath("args.txt");
    qputenv("VANTOR_ARGS_FILE", QFile::encodeName(argsFile));

    SettingsModel settings;
    settings.games[3].exePath = program;
    settings.games[3].params = "-game cstrike -name \"two words\"";
    AutoConnectState autoConnect;
    RecordingPrompter prompter;
    DesktopShell shell;
    Launcher launcher(settings, autoConnect, prompter, shell);
    launcher.givePassword(QStringLiteral("$HOME;`x`"));
    launcher.play(row("1.6"));

    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(argsFile), 10000);
    QFile file(argsFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()).split('\n'),
             (QStringList{"-game", "cstrike", "-name", "two words", "+connect", "127.0.0.5:27015", "+password",
                          "$HOME;`x`", ""}));
    QVERIFY(prompter.shown.isEmpty());
#endif
}

QTEST_GUILESS_MAIN(TestLauncher)
#include "tst_launcher.moc"
