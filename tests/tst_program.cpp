#include "ui/scangames.h"
#include "ui/singleinstance.h"

#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

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

} // namespace

// The built program, started twice from its own folder.
class TestProgram : public QObject
{
    Q_OBJECT

private slots:
    void secondStartHandsOverAndLeavesTheIniAlone();
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

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const auto start = [&](QProcess &process) {
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(dir.path());
        process.setProgram(program);
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

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_program.moc"
