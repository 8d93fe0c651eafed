#include "net/tnmudp.h"

#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QThreadPool>
#include <QUdpSocket>
#include <QtTest>

#include <memory>

// The endpoint on loopback: what it reports, how it fails, and the port
// fallback; once over Qt's socket (the program's) and once over the plain
// system socket (the command-line tool's).
class TestTNMUDP : public QObject
{
    Q_OBJECT

public:
    explicit TestTNMUDP(DatagramSocketFactory newSocket) : factory(std::move(newSocket)) { }

private slots:
    void sendAndReceive();
    void reportsEveryDatagramWhole();
    void tellsHowLongADatagramWaited();
    void fallsBackWhenPortTaken();
    void sendFailures_data();
    void sendFailures();
    void namesAreLookedUpInTheBackground();
    void batchKeepsTheOrder();
    void emptyBufferAsksTheHandler();

private:
    DatagramSocketFactory factory;
};

namespace {

struct Received
{
    int bytes;
    QString from;
    int port;
    QByteArray data;
};

void collect(TNMUDP &udp, QVector<Received> &out)
{
    udp.OnDataReceived = [&out](TNMUDP *sender, int n, const QString &from, int port) {
        QByteArray d;
        int count = 0;
        sender->ReadDatagram(d, count);
        QCOMPARE(count, n);
        out.append({n, from, port, d});
    };
}

} // namespace

void TestTNMUDP::sendAndReceive()
{
    TNMUDP udp(0, nullptr, factory);
    QVERIFY(udp.LocalPort() > 0);
    QUdpSocket server;
    QVERIFY(server.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0));
    int sent = 0;
    udp.OnDataSend = [&](TNMUDP *) { ++sent; };

    udp.RemoteHost = QStringLiteral("127.0.0.2");
    udp.RemotePort = server.localPort();
    udp.SendDatagram(QByteArray("hello world"), 5);
    QCOMPARE(sent, 1);
    QCOMPARE(udp.lastResolvedAddress(), 0x7F000002u);
    QTRY_VERIFY(server.hasPendingDatagrams());
    const QNetworkDatagram got = server.receiveDatagram();
    QCOMPARE(got.data(), QByteArray("hello"));
    QCOMPARE(got.senderPort(), udp.LocalPort());

}

void TestTNMUDP::reportsEveryDatagramWhole()
{
    TNMUDP udp(0, nullptr, factory);
    QVector<Received> got;
    collect(udp, got);
    QUdpSocket a, b;
    QVERIFY(a.bind(QHostAddress(QStringLiteral("127.0.0.3")), 0));
    QVERIFY(b.bind(QHostAddress(QStringLiteral("127.0.0.4")), 0));
    const QHostAddress to(QStringLiteral("127.0.0.1"));
    const QByteArray big(65507, 'x');
    a.writeDatagram(QByteArray("first"), to, quint16(udp.LocalPort()));
    b.writeDatagram(QByteArray(), to, quint16(udp.LocalPort()));
    a.writeDatagram(big, to, quint16(udp.LocalPort()));
    QTRY_COMPARE(got.size(), 3);
    QCOMPARE(got[0].data, QByteArray("first"));
    QCOMPARE(got[0].from, QStringLiteral("127.0.0.3"));
    QCOMPARE(got[0].port, int(a.localPort()));
    QCOMPARE(got[1].bytes, 0);
    QCOMPARE(got[1].from, QStringLiteral("127.0.0.4"));
    QCOMPARE(got[2].bytes, 65507);
    QCOMPARE(got[2].data, big);
}

void TestTNMUDP::tellsHowLongADatagramWaited()
{
    // A reply read late (the thread was busy) still tells when it came, so
    // that a ping does not grow with the time the window spent painting.
    TNMUDP udp(0, nullptr, factory);
    QUdpSocket server;
    QVERIFY(server.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0));
    QVector<qint64> waits;
    udp.OnDataReceived = [&](TNMUDP *sender, int, const QString &, int) { waits << sender->currentWaitNs(); };
    // The kernel switches stamping on a moment after the first socket of the
    // system asks for it; until then the wait reads as none. A few tries.
    for (int attempt = 1; attempt <= 5; ++attempt) {
        server.writeDatagram(QByteArray("late"), QHostAddress::LocalHost, quint16(udp.LocalPort()));
        QThread::msleep(50);
        QTRY_COMPARE(waits.size(), attempt);
#ifdef Q_OS_LINUX
        if (waits.last() >= 50'000'000)
            break;
#endif
    }
#ifdef Q_OS_LINUX
    QVERIFY2(waits.last() >= 50'000'000, qPrintable(QString::number(waits.last())));
#endif
}

void TestTNMUDP::fallsBackWhenPortTaken()
{
    QUdpSocket squatter;
    QVERIFY(squatter.bind(QHostAddress::AnyIPv4, 0));
    QString status;
    TNMUDP udp(squatter.localPort(), nullptr, factory);
    QVERIFY(udp.usesFallbackPort());
    QVERIFY(udp.LocalPort() != squatter.localPort());
    QVERIFY(udp.portStatus().contains(QString::number(squatter.localPort())));
    QVERIFY(udp.portStatus().contains(QString::number(udp.LocalPort())));

    TNMUDP free(0, nullptr, factory);
    QVERIFY(!free.usesFallbackPort());
    QVERIFY(free.portStatus().isEmpty());
}

void TestTNMUDP::sendFailures_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("message");
    QTest::newRow("null address") << "0.0.0.0" << 27015 << "Null Remote Address";
    QTest::newRow("port above 65535") << "127.0.0.1" << 70000 << "Invalid Remote Port";
    QTest::newRow("port zero") << "127.0.0.1" << 0 << "Invalid Remote Port";
    // Names are looked up before the send, never by it.
    QTest::newRow("name") << "localhost" << 27015 << "Host Lookup Canceled";
}

void TestTNMUDP::sendFailures()
{
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(QString, message);
    TNMUDP udp(0, nullptr, factory);
    udp.RemoteHost = host;
    udp.RemotePort = port;
    try {
        udp.SendDatagram(QByteArray("x"));
        QFAIL("the send should have failed");
    } catch (const UDPSockError &e) {
        QCOMPARE(e.message(), message);
    }
}

void TestTNMUDP::namesAreLookedUpInTheBackground()
{
    auto udp = std::make_unique<TNMUDP>(0, nullptr, factory);
    // localhost resolves without any network; the answer comes later, never at once.
    quint32 found = 1;
    bool answered = false;
    udp->LookupHost(QStringLiteral("localhost"), [&](quint32 address) {
        found = address;
        answered = true;
    });
    QVERIFY(!answered);
    QTRY_VERIFY(answered);
    QCOMPARE(found, 0x7F000001u);

    // Not a valid host name at all, so it fails without asking any name server.
    answered = false;
    udp->LookupHost(QStringLiteral("no such host!"), [&](quint32 address) {
        found = address;
        answered = true;
    });
    QTRY_VERIFY(answered);
    QCOMPARE(found, 0u);

    // An endpoint that is gone hears nothing of its lookups.
    answered = false;
    udp->LookupHost(QStringLiteral("localhost"), [&](quint32) { answered = true; });
    udp.reset();
    TNMUDP other(0, nullptr, factory);
    bool otherAnswered = false;
    other.LookupHost(QStringLiteral("localhost"), [&](quint32) { otherAnswered = true; });
    QTRY_VERIFY(otherAnswered);
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::sendPostedEvents();
    QVERIFY(!answered);
}

void TestTNMUDP::batchKeepsTheOrder()
{
    TNMUDP udp(0, nullptr, factory);
    QUdpSocket a, b;
    QVERIFY(a.bind(QHostAddress(QStringLiteral("127.0.0.6")), 0));
    QVERIFY(b.bind(QHostAddress(QStringLiteral("127.0.0.7")), 0));
    for (QUdpSocket *socket : {&a, &b})
        socket->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 1 << 20);
    // More than one system call takes.
    const QByteArray one("one"), two("two");
    std::vector<OutgoingDatagram> batch;
    for (int i = 0; i < 150; ++i) {
        batch.push_back({one.constData(), int(one.size()), 0x7F000006u, quint16(a.localPort())});
        batch.push_back({two.constData(), int(two.size()), 0x7F000007u, quint16(b.localPort())});
    }
    QList<quint32> sentTo;
    udp.OnDataSend = [&](TNMUDP *sender) { sentTo << sender->lastResolvedAddress(); };
    udp.SendDatagrams(batch);
    QCOMPARE(sentTo.size(), 300);
    QCOMPARE(sentTo.first(), 0x7F000006u);
    QCOMPARE(sentTo.last(), 0x7F000007u);
    for (QUdpSocket *socket : {&a, &b}) {
        const QByteArray expected = socket == &a ? one : two;
        for (int i = 0; i < 150; ++i) {
            QTRY_VERIFY(socket->hasPendingDatagrams());
            const QNetworkDatagram got = socket->receiveDatagram();
            QCOMPARE(got.data(), expected);
            QCOMPARE(got.senderPort(), udp.LocalPort());
        }
    }
}

void TestTNMUDP::emptyBufferAsksTheHandler()
{
    TNMUDP udp(0, nullptr, factory);
    QUdpSocket server;
    QVERIFY(server.bind(QHostAddress(QStringLiteral("127.0.0.5")), 0));
    udp.RemoteHost = QStringLiteral("127.0.0.5");
    udp.RemotePort = server.localPort();

    QString message;
    try {
        udp.SendDatagram(QByteArray());
    } catch (const UDPSockError &e) {
        message = e.message();
    }
    QCOMPARE(message, QStringLiteral("Invalid buffer"));

    int asked = 0;
    udp.OnBufferInvalid = [&](bool &handled, QByteArray &, int &) { ++asked; (void)handled; };
    message.clear();
    try {
        udp.SendDatagram(QByteArray());
    } catch (const UDPSockError &e) {
        message = e.message();
    }
    QCOMPARE(message, QStringLiteral("Invalid buffer"));
    QCOMPARE(asked, 1);

    // A handler may supply the data and mark the event handled.
    udp.OnBufferInvalid = [](bool &handled, QByteArray &buff, int &length) {
        buff = "fixed";
        length = 5;
        handled = true;
    };
    udp.SendDatagram(QByteArray(), 0);
    QTRY_VERIFY(server.hasPendingDatagrams());
    QCOMPARE(server.receiveDatagram().data(), QByteArray("fixed"));
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    TestTNMUDP overQt(newQtDatagramSocket);
    TestTNMUDP overPlain(newPlainDatagramSocket);
    return QTest::qExec(&overQt, argc, argv) | QTest::qExec(&overPlain, argc, argv);
}
#include "tst_tnmudp.moc"
