#include "net/httpfetch.h"
#include "update/updatechecker.h"
#include "update/updaterecord.h"
#include "settings/settingsmodel.h"
#include "support/recordingprompter.h"
#include "support/recordingshell.h"
#include "ui/aboutbox.h"
#include "ui/linklabel.h"
#include "ui/mainwindow.h"
#include "buildinfo.h"

#include <QCheckBox>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

namespace {

// A one-file web server on loopback. With hold set, requests wait for release().
class UpdateServer : public QObject
{
public:
    bool hold = false;
    QList<QByteArray> requests;

    UpdateServer()
    {
        server.listen(QHostAddress(QHostAddress::LocalHost), 0);
        connect(&server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
        });
    }

    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/ver.txt").arg(server.serverPort())); }
    void setBody(const QByteArray &body, const QByteArray &status = "200 OK")
    {
        reply = "HTTP/1.0 " + status + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
    }

    void release()
    {
        for (QTcpSocket *socket : std::as_const(waiting))
            answer(socket);
        waiting.clear();
    }

private:
    void readRequest(QTcpSocket *socket)
    {
        partial[socket] += socket->readAll();
        if (!partial[socket].contains("\r\n\r\n"))
            return;
        requests << partial.take(socket);
        if (hold)
            waiting << socket;
        else
            answer(socket);
    }

    void answer(QTcpSocket *socket)
    {
        socket->write(reply);
        socket->disconnectFromHost();
    }

    QByteArray reply;
    QTcpServer server;
    QHash<QTcpSocket *, QByteArray> partial;
    QList<QTcpSocket *> waiting;
};

// A loopback address where nothing listens.
QUrl closedAddress()
{
    QTcpServer probe;
    probe.listen(QHostAddress(QHostAddress::LocalHost), 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return QUrl(QStringLiteral("http://127.0.0.1:%1/ver.txt").arg(port));
}

const QByteArray NewRecord = QByteArrayLiteral("!@2.0.0.1 https://downloads.example.org/vantor-2.0.0.1.zip\r\n");
const QString NewAddress = QStringLiteral("https://downloads.example.org/vantor-2.0.0.1.zip");

// One checker wired to recording services, a server and a settable date.
struct Rig
{
    explicit Rig(const QUrl &address, const QString &own = QStringLiteral("2.0.0.1"))
        : checker({fetch, prompter, shell, settings, [this] { return day; }}, address, own)
    {
    }

    bool finishes(QSignalSpy &spy) { return spy.count() > 0 || spy.wait(10000); }

    QDate day = QDate(2024, 3, 9);
    SettingsModel settings;
    RecordingPrompter prompter;
    RecordingShell shell;
    HttpFetch fetch;
    UpdateChecker checker;
};

} // namespace

class TestUpdateCheck : public QObject
{
    Q_OBJECT

private slots:
    void parseRecord_data();
    void parseRecord();
    void questionText();
    void fetchCapsTheBody_data();
    void fetchCapsTheBody();
    void check_data();
    void check();
    void automaticCheckOncePerDay();
    void flagOffLeavesOnlyManualCheck();
    void manualRequestJoinsRunningCheck();
    void aboutButtonDisabledWhileChecking();
    void aboutCheckBoxStoresFlag();
    void aboutWithoutUpdateCheck();
    void linkLabelColoursAndClick();
};

void TestUpdateCheck::parseRecord_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("address");

    const QByteArray longAddress = "!@1 https://a.example.org/" + QByteArray(1024 - 26, 'x');
    QTest::newRow("https") << QByteArray("!@2.0.0.1 https://a.example.org/v.zip") << true << "2.0.0.1"
                           << "https://a.example.org/v.zip";
    QTest::newRow("http") << QByteArray("!@3 http://a.example.org/") << true << "3" << "http://a.example.org/";
    QTest::newRow("upper-case scheme") << QByteArray("!@3 HTTP://a.example.org/") << true << "3"
                                       << "HTTP://a.example.org/";
    QTest::newRow("line end dropped") << QByteArray("!@3 https://a.example.org/\r\n") << true << "3"
                                      << "https://a.example.org/";
    QTest::newRow("zero byte ends address") << QByteArray("!@3 https://a.example.org/x\0junk", 32) << true << "3"
                                            << "https://a.example.org/x";
    QTest::newRow("blank inside address") << QByteArray("!@3 https://a.example.org/a b") << true << "3"
                                          << "https://a.example.org/a b";
    QTest::newRow("empty version") << QByteArray("!@ https://a.example.org/") << true << ""
                                   << "https://a.example.org/";
    QTest::newRow("1024 bytes") << longAddress << true << "1" << QString::fromLatin1(longAddress.mid(4));
    QTest::newRow("1025 bytes") << longAddress + 'x' << false << "" << "";
    QTest::newRow("no marker") << QByteArray("2.0.0.1 https://a.example.org/") << false << "" << "";
    QTest::newRow("error page") << QByteArray("<html>Not found</html>") << false << "" << "";
    QTest::newRow("no blank") << QByteArray("!@2.0.0.1") << false << "" << "";
    QTest::newRow("local path") << QByteArray("!@2 C:\\Windows\\system32\\cmd.exe") << false << "" << "";
    QTest::newRow("file scheme") << QByteArray("!@2 file:///bin/sh") << false << "" << "";
    QTest::newRow("ftp scheme") << QByteArray("!@2 ftp://a.example.org/v.zip") << false << "" << "";
    QTest::newRow("no host") << QByteArray("!@2 https:///v.zip") << false << "" << "";
    QTest::newRow("empty address") << QByteArray("!@2 ") << false << "" << "";
}

void TestUpdateCheck::parseRecord()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, valid);
    QFETCH(QString, version);
    QFETCH(QString, address);

    const std::optional<UpdateRecord> record = parseUpdateRecord(reply);
    QCOMPARE(record.has_value(), valid);
    if (valid) {
        QCOMPARE(record->version, version);
        QCOMPARE(record->address, address);
    }
}

void TestUpdateCheck::questionText()
{
    QCOMPARE(UpdateChecker::downloadQuestion(QStringLiteral("2.0"), QStringLiteral("1.0")),
             QStringLiteral("Current release version: 2.0\rYou have: 1.0\r\rDownload new version ?"));
}

void TestUpdateCheck::fetchCapsTheBody_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("received");

    QTest::newRow("short") << 10 << 10;
    QTest::newRow("at the limit") << 1024 << 1024;
    QTest::newRow("one over") << 1025 << 1025;
    QTest::newRow("huge") << 4 * 1024 * 1024 << 1025;
}

void TestUpdateCheck::fetchCapsTheBody()
{
    QFETCH(int, size);
    QFETCH(int, received);

    UpdateServer server;
    server.setBody(QByteArray(size, 'a'));
    HttpFetch fetch;
    QSignalSpy spy(&fetch, &HttpFetch::finished);
    fetch.get(server.url(), 1024);
    QVERIFY(spy.wait(10000));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), true);
    QCOMPARE(spy.at(0).at(1).toByteArray(), QByteArray(received, 'a'));
    // A stopped transfer reports nothing more: the next fetch's answer is the next one.
    server.setBody(QByteArray("next"));
    fetch.get(server.url(), 1024);
    QVERIFY(spy.wait(10000));
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(1).at(1).toByteArray(), QByteArray("next"));
}

void TestUpdateCheck::check_data()
{
    QTest::addColumn<QByteArray>("status"); // empty: nothing listens
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("own");
    QTest::addColumn<bool>("manual");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("opened");

    const QByteArray ok = "200 OK";
    const QByteArray page = "<html>moved</html>";
    const QString newer = QStringLiteral("question: Current release version: 2.0.0.1\nYou have: 2.0.0.0\n\n"
                                         "Download new version ?");
    const QString older = QStringLiteral("question: Current release version: 2.0.0.1\nYou have: 2.0.0.2\n\n"
                                         "Download new version ?");
    const QStringList none;
    const QStringList connectionError{QStringLiteral("error: Connection error")};

    QTest::newRow("same, manual") << ok << NewRecord << "2.0.0.1" << true << true
                                  << QStringList{QStringLiteral("Information: You have last version")} << none;
    QTest::newRow("same, automatic") << ok << NewRecord << "2.0.0.1" << false << true << none << none;
    QTest::newRow("newer, manual, yes") << ok << NewRecord << "2.0.0.0" << true << true << QStringList{newer}
                                        << QStringList{NewAddress};
    QTest::newRow("newer, automatic, yes") << ok << NewRecord << "2.0.0.0" << false << true << QStringList{newer}
                                           << QStringList{NewAddress};
    QTest::newRow("newer, manual, no") << ok << NewRecord << "2.0.0.0" << true << false << QStringList{newer} << none;
    QTest::newRow("older, manual, yes") << ok << NewRecord << "2.0.0.2" << true << true << QStringList{older}
                                        << QStringList{NewAddress};
    QTest::newRow("older, automatic, no") << ok << NewRecord << "2.0.0.2" << false << false << QStringList{older}
                                          << none;
    QTest::newRow("no own version") << ok << NewRecord << "" << false << true
                                    << QStringList{QStringLiteral("question: Current release version: 2.0.0.1\n"
                                                                  "You have: \n\nDownload new version ?")}
                                    << QStringList{NewAddress};
    QTest::newRow("no marker, manual") << ok << page << "2.0.0.0" << true << true << connectionError << none;
    QTest::newRow("no marker, automatic") << ok << page << "2.0.0.0" << false << true << none << none;
    QTest::newRow("non-http address, manual") << ok << QByteArray("!@2.0.0.1 file:///bin/sh") << "2.0.0.0" << true
                                              << true << connectionError << none;
    QTest::newRow("non-http address, automatic") << ok << QByteArray("!@2.0.0.1 C:\\evil.exe") << "2.0.0.0" << false
                                                 << true << none << none;
    QTest::newRow("record too long, manual") << ok << NewRecord + QByteArray(1024, ' ') << "2.0.0.0" << true << true
                                             << connectionError << none;
    QTest::newRow("http error, manual") << QByteArray("404 Not Found") << NewRecord << "2.0.0.0" << true << true
                                        << connectionError << none;
    QTest::newRow("unreachable, manual") << QByteArray() << NewRecord << "2.0.0.0" << true << true << connectionError
                                         << none;
    QTest::newRow("unreachable, automatic") << QByteArray() << NewRecord << "2.0.0.0" << false << true << none << none;
}

void TestUpdateCheck::check()
{
    QFETCH(QByteArray, status);
    QFETCH(QByteArray, body);
    QFETCH(QString, own);
    QFETCH(bool, manual);
    QFETCH(bool, yes);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, opened);

    UpdateServer server;
    server.setBody(body, status);
    Rig rig(status.isEmpty() ? closedAddress() : server.url(), own);
    rig.prompter.answerYes = yes;
    rig.settings.lastUpdateDate = QStringLiteral("long ago");
    QSignalSpy finished(&rig.checker, &UpdateChecker::finished);

    rig.checker.check(manual);
    QVERIFY(rig.checker.isRunning());
    QVERIFY(rig.finishes(finished));

    QCOMPARE(rig.prompter.shown, shown);
    QCOMPARE(rig.shell.opened, opened);
    QCOMPARE(rig.settings.lastUpdateDate, UpdateChecker::dateText(rig.day));
    QVERIFY(!rig.checker.isRunning());
    QCOMPARE(finished.count(), 1);
}

void TestUpdateCheck::automaticCheckOncePerDay()
{
    UpdateServer server;
    server.setBody(NewRecord);
    Rig rig(server.url());
    QSignalSpy finished(&rig.checker, &UpdateChecker::finished);

    rig.checker.automaticTrigger();
    rig.checker.automaticTrigger(); // activated again while the first fetch runs
    QVERIFY(rig.finishes(finished));
    QCOMPARE(server.requests.size(), 1);
    const QByteArray request = server.requests.first().toLower();
    QVERIFY(request.startsWith("get /ver.txt "));
    QVERIFY2(request.contains("\r\nuser-agent: myapp\r\n"), request.constData());
    QCOMPARE(rig.settings.lastUpdateDate, UpdateChecker::dateText(rig.day));

    rig.checker.automaticTrigger();
    QVERIFY(!rig.checker.isRunning());

    rig.day = rig.day.addDays(1);
    rig.checker.automaticTrigger();
    QVERIFY(rig.checker.isRunning());
    QVERIFY(finished.wait(10000));
    QCOMPARE(server.requests.size(), 2);
    QCOMPARE(rig.settings.lastUpdateDate, UpdateChecker::dateText(rig.day));
    QVERIFY(rig.prompter.shown.isEmpty());
}

void TestUpdateCheck::flagOffLeavesOnlyManualCheck()
{
    UpdateServer server;
    server.setBody(NewRecord);
    Rig rig(server.url());
    rig.settings.checkUpdates = false;
    QSignalSpy finished(&rig.checker, &UpdateChecker::finished);

    rig.checker.automaticTrigger();
    QVERIFY(!rig.checker.isRunning());
    QVERIFY(server.requests.isEmpty());
    QVERIFY(rig.settings.lastUpdateDate.isEmpty());

    rig.checker.check(true);
    QVERIFY(rig.finishes(finished));
    QCOMPARE(rig.prompter.shown, QStringList{QStringLiteral("Information: You have last version")});
    QCOMPARE(rig.settings.lastUpdateDate, UpdateChecker::dateText(rig.day));
    QCOMPARE(server.requests.size(), 1); // the manual check's alone
}

void TestUpdateCheck::manualRequestJoinsRunningCheck()
{
    UpdateServer server;
    server.setBody("no record here");
    server.hold = true;
    Rig rig(server.url());
    QSignalSpy finished(&rig.checker, &UpdateChecker::finished);

    rig.checker.automaticTrigger();
    QTRY_COMPARE(server.requests.size(), 1);
    rig.checker.check(true);
    server.release();
    QVERIFY(rig.finishes(finished));
    QCOMPARE(server.requests.size(), 1);
    QCOMPARE(rig.prompter.shown, QStringList{QStringLiteral("error: Connection error")});
}

void TestUpdateCheck::aboutButtonDisabledWhileChecking()
{
    UpdateServer server;
    server.setBody(NewRecord);
    server.hold = true;
    Rig rig(server.url());
    TFormAbout about(rig.settings, &rig.checker, rig.shell);
    QSignalSpy finished(&rig.checker, &UpdateChecker::finished);

    QVERIFY(about.checkButton->isEnabled());
    QTest::mouseClick(about.checkButton, Qt::LeftButton);
    QVERIFY(!about.checkButton->isEnabled());
    QTRY_COMPARE(server.requests.size(), 1);
    QVERIFY(!about.checkButton->isEnabled());

    server.release();
    QVERIFY(rig.finishes(finished));
    QVERIFY(about.checkButton->isEnabled());
    QCOMPARE(rig.prompter.shown, QStringList{QStringLiteral("Information: You have last version")});
}

void TestUpdateCheck::aboutCheckBoxStoresFlag()
{
    Rig rig(closedAddress());
    rig.settings.checkUpdates = false;
    TFormAbout about(rig.settings, &rig.checker, rig.shell);

    QVERIFY(!about.autoCheck->isChecked());
    about.autoCheck->click();
    QVERIFY(rig.settings.checkUpdates);
    about.autoCheck->click();
    QVERIFY(!rig.settings.checkUpdates);
}

void TestUpdateCheck::aboutWithoutUpdateCheck()
{
    // A distribution's package: no controls of a check, the version and the
    // home page as ever.
    SettingsModel settings;
    RecordingShell shell;
    TFormAbout about(settings, nullptr, shell);
    QVERIFY(!about.checkButton && !about.autoCheck);
    QVERIFY(about.findChildren<QPushButton *>().isEmpty());
    QVERIFY(about.findChildren<QCheckBox *>().isEmpty());
    QStringList texts;
    for (const QLabel *label : about.findChildren<QLabel *>())
        texts << label->text();
    QVERIFY2(texts.contains(QStringLiteral("version " VANTOR_VERSION)), qPrintable(texts.join(u'|')));
    QTest::mouseClick(about.homePage, Qt::LeftButton);
    QCOMPARE(shell.opened, QStringList{TForm1::homePageAddress()});
}

void TestUpdateCheck::linkLabelColoursAndClick()
{
    Rig rig(closedAddress());
    TFormAbout about(rig.settings, &rig.checker, rig.shell);
    LinkLabel *link = about.homePage;
    QCOMPARE(link->text(), TForm1::homePageAddress());
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(link->textColor(), QColor(0, 0, 255));
    QVERIFY(!link->font().underline());

    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(link, &enter);
    QVERIFY(link->font().underline());

    QTest::mousePress(link, Qt::LeftButton);
    QCOMPARE(link->textColor(), QColor(255, 0, 0));
    QVERIFY(rig.shell.opened.isEmpty());
    QTest::mouseRelease(link, Qt::LeftButton);
    QCOMPARE(link->textColor(), QColor(0x80, 0x00, 0x80));
    QCOMPARE(rig.shell.opened, QStringList{TForm1::homePageAddress()});

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(link, &leave);
    QVERIFY(!link->font().underline());

    QTest::mouseClick(link, Qt::RightButton);
    QCOMPARE(rig.shell.opened.size(), 1);
}

QTEST_MAIN(TestUpdateCheck)
#include "tst_updatecheck.moc"
