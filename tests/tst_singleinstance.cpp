#include "ui/singleinstance.h"
#include "ui/trayicon.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QPixmap>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUuid>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace {

// Unique per run, so that a parallel run or an old socket cannot interfere.
QString uniqueTitle(const QString &suffix)
{
    return QStringLiteral("VantorTest_%1_%2").arg(QUuid::createUuid().toString(QUuid::Id128), suffix);
}

#ifdef Q_OS_UNIX
// What a crashed copy leaves: a socket file that nobody listens on.
bool leaveStaleSocket(const QString &path)
{
    const QByteArray file = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (size_t(file.size()) >= sizeof(address.sun_path))
        return false;
    memcpy(address.sun_path, file.constData(), size_t(file.size()));
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = fd >= 0 && bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0;
    if (fd >= 0)
        close(fd);
    return bound && QFile::exists(path);
}
#endif

QIcon filledIcon(Qt::GlobalColor color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    return QIcon(pixmap);
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void secondStartReachesFirst();
    void staleSocketIsReplaced();
    void otherVersionsDoNotMeet();
    void socketInTheGivenFolder();
    void defaultFolderIsTheRuntimeFolder();
    void nameIsSafeForSockets_data();
    void nameIsSafeForSockets();
    void trayIconCycles();
};

void TestSingleInstance::secondStartReachesFirst()
{
    const QString title = uniqueTitle(QStringLiteral("v1.0.0.0"));
    {
        SingleInstance first(title);
        QVERIFY(first.isFirst());
        QSignalSpy shown(&first, &SingleInstance::showRequested);

        SingleInstance second(title);
        QVERIFY(!second.isFirst());
        QVERIFY(second.notifyFirst());
        QVERIFY(shown.wait(2000));
        QCOMPARE(shown.count(), 1);
    }
    // Once the first copy has ended, the next start runs as the first again.
    SingleInstance next(title);
    QVERIFY(next.isFirst());
}

void TestSingleInstance::staleSocketIsReplaced()
{
#ifdef Q_OS_UNIX
    const QString title = uniqueTitle(QStringLiteral("stale"));
    SingleInstance first(title);
    QString path;
    {
        QLocalServer locator;
        QVERIFY(locator.listen(first.serverName()));
        path = locator.fullServerName();
    }
    QVERIFY(leaveStaleSocket(path));
    QLocalServer plain;
    QVERIFY2(!plain.listen(first.serverName()), "the leftover file must block a plain listen");

    QVERIFY(first.isFirst());
    SingleInstance second(title);
    QVERIFY(!second.isFirst());
    QSignalSpy shown(&first, &SingleInstance::showRequested);
    QVERIFY(second.notifyFirst());
    QVERIFY(shown.wait(2000));
#else
    QSKIP("Only Unix local sockets leave a file behind");
#endif
}

void TestSingleInstance::otherVersionsDoNotMeet()
{
    const QString base = uniqueTitle(QStringLiteral("v"));
    SingleInstance older(base + QStringLiteral("1.0.0.0"));
    SingleInstance newer(base + QStringLiteral("1.0.0.1"));
    QVERIFY(older.isFirst());
    QVERIFY(newer.isFirst());
    QSignalSpy olderShown(&older, &SingleInstance::showRequested);
    QSignalSpy newerShown(&newer, &SingleInstance::showRequested);

    SingleInstance olderAgain(base + QStringLiteral("1.0.0.0"));
    QVERIFY(!olderAgain.isFirst());
    QVERIFY(olderAgain.notifyFirst());
    QVERIFY(olderShown.wait(2000));
    QCOMPARE(newerShown.count(), 0);
}

void TestSingleInstance::socketInTheGivenFolder()
{
#ifdef Q_OS_UNIX
    QTemporaryDir mine;
    QTemporaryDir other;
    QVERIFY(mine.isValid() && other.isValid());
    const QString title = uniqueTitle(QStringLiteral("folder"));
    SingleInstance first(title, mine.path());
    QVERIFY(first.isFirst());
    QCOMPARE(QFileInfo(first.serverName()).dir(), QDir(mine.path()));
    QVERIFY(QFileInfo::exists(first.serverName()));

    // The same name in a folder that is not the user's own (another user's,
    // or one a stranger filled) does not count as a running copy.
    SingleInstance elsewhere(title, other.path());
    QVERIFY(elsewhere.isFirst());
    SingleInstance second(title, mine.path());
    QVERIFY(!second.isFirst());
#else
    QSKIP("Windows keeps the named pipe");
#endif
}

void TestSingleInstance::defaultFolderIsTheRuntimeFolder()
{
#ifdef Q_OS_UNIX
    QTemporaryDir runtime;
    QVERIFY(runtime.isValid());
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    const bool wasSet = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    const QString folder = SingleInstance::defaultFolder();
    const QString name = SingleInstance(uniqueTitle(QStringLiteral("runtime"))).serverName();
    if (wasSet)
        qputenv("XDG_RUNTIME_DIR", saved);
    else
        qunsetenv("XDG_RUNTIME_DIR");

    QCOMPARE(folder, runtime.path());
    QCOMPARE(QFileInfo(name).dir(), QDir(runtime.path()));
    QCOMPARE(QFileInfo(folder).permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup
                                                | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther),
             QFileDevice::Permissions());
#else
    QVERIFY(SingleInstance::defaultFolder().isEmpty());
#endif
}

void TestSingleInstance::nameIsSafeForSockets_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("versioned") << "Vantor_v1.0.0.0"
                               << "Vantor_v1.0.0.0_";
    QTest::newRow("no version") << "Vantor_v"
                                << "Vantor_v_";
    QTest::newRow("separators") << "Van tor/v1:0\\0"
                                << "Van_tor_v1_0_0_";
    QTest::newRow("non-ASCII") << QStringLiteral("Vant\u00f6r") << "Vant_r_";
}

void TestSingleInstance::nameIsSafeForSockets()
{
    QFETCH(QString, title);
    QFETCH(QString, prefix);
    const QString name = SingleInstance(title, QString()).serverName();
    QVERIFY2(name.startsWith(prefix), qPrintable(name));
    QVERIFY2(QRegularExpression(QStringLiteral("^[A-Za-z0-9_.-]+$")).match(name).hasMatch(),
             qPrintable(name));
}

void TestSingleInstance::trayIconCycles()
{
    TrayIcon tray;
    tray.setIcons(filledIcon(Qt::green), filledIcon(Qt::red));
    QCOMPARE(tray.currentIcon(), 0);

    tray.startCycling();
    QVERIFY(tray.cycling());
    tray.cycleTick();
    QCOMPARE(tray.currentIcon(), 1);
    tray.cycleTick();
    QCOMPARE(tray.currentIcon(), 0);
    tray.cycleTick();
    tray.startCycling();
    QCOMPARE(tray.currentIcon(), 1);

    tray.stopCycling();
    QVERIFY(!tray.cycling());
    QCOMPARE(tray.currentIcon(), 0);

    // The timer drives the same turn.
    tray.startCycling();
    QTRY_COMPARE_WITH_TIMEOUT(tray.currentIcon(), 1, 20 * TrayIcon::cycleIntervalMs);
    tray.stopCycling();
}

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
