#include "app/program.h"
#include "buildinfo.h"
#include "net/datagramsocket.h"
#include "ui/mainwindow.h"
#include "ui/singleinstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>

#include <unistd.h>

namespace {

// Few keys, so that any save by the program would change the file; no update
// check and no broadcast, so that nothing leaves the machine.
const QByteArray Ini = "[Settings]\n"
                       "Broadcast=0\n"
                       "ScanOld=0\n"
                       "CheckUpdates=0\n"
                       "FavAutoScan=0\n"
                       "\n"
                       "[Ranges]\n"
                       "Ranges=1\n"
                       "Checked=1\n"
                       "RangeFrom0=127.0.81.1\n"
                       "RangeTo0=127.0.81.3\n";

// True when a copy of this version listens for later starts.
bool copyAnswers(const QString &socketName)
{
    QLocalSocket socket;
    socket.connectToServer(socketName);
    const bool answered = socket.waitForConnected(200);
    socket.abort();
    return answered;
}

// A socket the system never grants, as when the process may open no more files.
class RefusedSocket : public DatagramSocket
{
public:
    bool bind(quint16) override { return false; }
    int localPort() const override { return 0; }
    int errorCode() const override { return 24; }
    bool send(const char *, int, quint32, quint16) override { return false; }
    bool read(ReceivedDatagram &) override { return false; }
    void close() override { }
    void lookupHost(const QString &, std::function<void(quint32)> done) override { done(0); }
};

// What the code between the two calls writes to stderr.
class StderrCapture
{
public:
    StderrCapture() : m_saved(dup(2))
    {
        fflush(stderr);
        if (m_file.open())
            dup2(m_file.handle(), 2);
    }
    QString taken()
    {
        fflush(stderr);
        dup2(m_saved, 2);
        close(m_saved);
        m_file.seek(0);
        return QString::fromUtf8(m_file.readAll());
    }

private:
    QTemporaryFile m_file;
    int m_saved;
};

} // namespace

// The built program, started twice from its own folder.
class TestProgram : public QObject
{
    Q_OBJECT

private slots:
    void secondStartHandsOverAndLeavesTheIniAlone();
    void commandLine_data();
    void commandLine();
    void noSocketEndsWithAWord();
};

void TestProgram::secondStartHandsOverAndLeavesTheIniAlone()
{
    const QString socketName = SingleInstance(TForm1::applicationTitle()).serverName();
    if (copyAnswers(socketName))
        QSKIP("A copy of this version is running already.");

    const QString built = QStringLiteral(VANTOR_PROGRAM);
    QVERIFY2(QFile::exists(built), "build the vantor target first");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString program = dir.filePath(QFileInfo(built).fileName());
    QVERIFY(QFile::copy(built, program));
    const QString iniPath = dir.filePath(QStringLiteral("vantor.ini"));
    {
        QFile ini(iniPath);
        QVERIFY(ini.open(QIODevice::WriteOnly));
        QCOMPARE(ini.write(Ini), qint64(Ini.size()));
    }

    // Qt's own options still reach Qt: the platform comes from the command line.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("DISPLAY"));
    const auto start = [&](QProcess &process) {
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(dir.path());
        process.setProgram(program);
        process.setArguments({QStringLiteral("-platform"), QStringLiteral("offscreen")});
        process.start();
    };

    QProcess first;
    const auto stopFirst = qScopeGuard([&] {
        first.terminate();
        if (!first.waitForFinished(3000)) {
            first.kill();
            first.waitForFinished(3000);
        }
    });
    start(first);
    QVERIFY(first.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(copyAnswers(socketName), 20000);
    QCOMPARE(first.state(), QProcess::Running);

    QProcess second;
    start(second);
    QVERIFY(second.waitForStarted());
    QVERIFY2(second.waitForFinished(20000), "the second start keeps running");
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);

    QFile ini(iniPath);
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QCOMPARE(ini.readAll(), Ini);
}

void TestProgram::commandLine_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");

    const QString help = QStringLiteral("usage: vantor [QT-OPTION]...\n");
    const QString version = QStringLiteral("vantor " VANTOR_VERSION "\n");
    const QString tryHelp = QStringLiteral("Try 'vantor --help' for the options.\n");
    QTest::newRow("--version") << QStringList{"--version"} << 0 << version << QString();
    QTest::newRow("--help") << QStringList{"--help"} << 0 << help << QString();
    QTest::newRow("-h after a Qt option") << QStringList{"-style", "Fusion", "-h"} << 0 << help << QString();
    QTest::newRow("unknown option") << QStringList{"--bogus"} << 2 << QString()
                                    << "vantor: unknown option --bogus\n" + tryHelp;
    QTest::newRow("left after Qt's options") << QStringList{"-platform", "offscreen", "stray"} << 2 << QString()
                                             << "vantor: unexpected argument stray\n" + tryHelp;
    QTest::newRow("after Qt's options of both forms")
        << QStringList{"--display", ":99", "-style=Fusion", "-reverse", "-bogus"} << 2 << QString()
        << "vantor: unknown option -bogus\n" + tryHelp;
    QTest::newRow("an option of another platform")
        << QStringList{"-platform", "offscreen", "-display", ":99"} << 2 << QString()
        << "vantor: unknown option -display\n" + tryHelp;
    QTest::newRow("a value of Qt's option") << QStringList{"-qwindowtitle", "--bogus", "--no"} << 2 << QString()
                                            << "vantor: unknown option --no\n" + tryHelp;
}

void TestProgram::commandLine()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString program = dir.filePath(QFileInfo(QStringLiteral(VANTOR_PROGRAM)).fileName());
    QVERIFY(QFile::copy(QStringLiteral(VANTOR_PROGRAM), program));
    // No answer and no refusal needs a display: with the X11 platform and no
    // display, Qt would abort the program before either.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(dir.path());
    process.start(program, args);
    QVERIFY(process.waitForStarted());
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
        QFAIL("the program kept running");
    }
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), exitCode);
    const QString stdOut = QString::fromUtf8(process.readAllStandardOutput());
    QVERIFY2(out.isEmpty() ? stdOut.isEmpty() : stdOut.startsWith(out), qPrintable(stdOut));
    if (out == QStringLiteral("vantor " VANTOR_VERSION "\n"))
        QCOMPARE(stdOut, out);
    // Qt may say a word of its own (a missing XDG_RUNTIME_DIR); ours ends the output.
    const QString stdErr = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(err.isEmpty() ? !stdErr.contains(QStringLiteral("vantor")) : stdErr.endsWith(err), qPrintable(stdErr));
    // Nothing was read or saved.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QFileInfo(program).fileName()});
}

void TestProgram::noSocketEndsWithAWord()
{
    QTemporaryDir dir;
    Program::Options options;
    options.iniPath = dir.filePath(QStringLiteral("vantor.ini"));
    options.localPort = 0;
    options.registerHotkey = false;
    options.updateCheck = false;
    options.newSocket = [] { return std::make_unique<RefusedSocket>(); };
    Program program(options);

    // Without a display to show a box on, the reason goes to stderr and the
    // program ends at once, without a window and without writing its settings.
    StderrCapture errors;
    const bool started = program.start();
    const QString written = errors.taken();
    QVERIFY(!started);
    QVERIFY(!program.mainWindow());
    QCOMPARE(written, QStringLiteral("vantor: Vantor cannot open its UDP socket (Unknown Error No. 24), so it "
                                     "cannot ask any server. It ends now.\n"));
    program.closeWindows();
    QVERIFY(!QFile::exists(options.iniPath));
}

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
