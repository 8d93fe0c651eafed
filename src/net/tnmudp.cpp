#include "net/tnmudp.h"

#include "net/arrivalstamp.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostInfo>
#include <QNetworkDatagram>
#include <QNetworkProxy>
#include <QUdpSocket>
#include <QVariant>

namespace {

constexpr int MaxDatagram = 65507; // the largest UDP payload over IPv4
constexpr qint64 ReadSliceNs = 5000000;

} // namespace

TNMUDP::TNMUDP(quint16 localPort, QObject *parent) : QObject(parent), requested(localPort)
{
    bindSocket(localPort);
}

TNMUDP::~TNMUDP() = default;

QUdpSocket *TNMUDP::newSocket()
{
    auto *s = new QUdpSocket(this);
    // Queries go straight to the servers on the LAN. Without this the bind
    // asks the system's proxy configuration first, which costs a start-up
    // delay of tens of milliseconds for nothing.
    s->setProxy(QNetworkProxy::NoProxy);
    return s;
}

void TNMUDP::bindSocket(quint16 port)
{
    socket = newSocket();
    // Exclusive bind, so that a port already taken shows up as a failed bind
    // instead of two programs splitting the replies between them.
    if (!socket->bind(QHostAddress::AnyIPv4, port, QUdpSocket::DontShareAddress) && port != 0) {
        delete socket;
        socket = newSocket();
        if (!socket->bind(QHostAddress::AnyIPv4, 0, QUdpSocket::DontShareAddress))
            throw UDPSockError(QStringLiteral("Unknown Error No. %1").arg(int(socket->error())));
        status(portStatus());
    } else if (socket->state() != QAbstractSocket::BoundState) {
        throw UDPSockError(QStringLiteral("Unknown Error No. %1").arg(int(socket->error())));
    }
    // A sweep can draw thousands of replies at once; give the kernel room for them.
    socket->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, QVariant(4 * 1024 * 1024));
    ArrivalStamp::enable(socket->socketDescriptor());
    connect(socket, &QUdpSocket::readyRead, this, &TNMUDP::readPending);
}

int TNMUDP::LocalPort() const
{
    return socket->localPort();
}

bool TNMUDP::usesFallbackPort() const
{
    return requested != 0 && LocalPort() != requested;
}

QString TNMUDP::portStatus() const
{
    if (!usesFallbackPort())
        return QString();
    return QStringLiteral("Port %1 is busy, using %2").arg(requested).arg(LocalPort());
}

void TNMUDP::status(const QString &text)
{
    if (OnStatus)
        OnStatus(this, text);
}

void TNMUDP::SendDatagram(const QByteArray &buff, int length)
{
    QByteArray data = buff;
    bool firstAttempt = true;
    while (length <= 0) {
        bool handled = false;
        if (!OnBufferInvalid || !firstAttempt)
            throw UDPSockError(QStringLiteral("Invalid buffer"));
        firstAttempt = false;
        OnBufferInvalid(handled, data, length);
        if (!handled)
            throw UDPSockError(QStringLiteral("Invalid buffer"));
    }
    length = qMin(length, int(data.size()));

    // Take the target as it stands now: handlers that run during a host lookup
    // may move it for their own sends.
    const QString host = RemoteHost;
    const int port = RemotePort;
    if (port <= 0 || port > 65535)
        throw UDPSockError(QStringLiteral("Invalid Remote Port"));
    const quint32 address = resolve(host);
    if (address == 0)
        throw UDPSockError(QStringLiteral("Null Remote Address"));
    lastResolved = address;

    // Whether the system took the datagram is not reported, as with any UDP send.
    socket->writeDatagram(data.constData(), length, QHostAddress(address), quint16(port));
    if (OnDataSend)
        OnDataSend(this);
}

quint32 TNMUDP::resolve(const QString &host)
{
    if (host == cachedHost && !cachedHost.isEmpty())
        return cachedAddress;
    quint32 address = 0;
    if (parseIpv4(host, address)) {
        cachedHost = host;
        cachedAddress = address;
        return address;
    }
    if (lookupHost(host, address))
        return address;
    bool handled = false;
    if (OnInvalidHost)
        OnInvalidHost(handled);
    if (lookupHost(host, address))
        return address;
    throw UDPSockError(QStringLiteral("Host Lookup Canceled"));
}

bool TNMUDP::lookupHost(const QString &host, quint32 &address)
{
    if (host.trimmed().isEmpty())
        return false;
    // The lookup runs in the background while events go on being processed,
    // so replies and clicks are handled while a name resolves.
    QEventLoop loop;
    bool found = false;
    QHostInfo::lookupHost(host, &loop, [&](const QHostInfo &info) {
        for (const QHostAddress &a : info.addresses()) {
            if (a.protocol() == QAbstractSocket::IPv4Protocol) {
                address = a.toIPv4Address();
                found = true;
                break;
            }
        }
        loop.quit();
    });
    loop.exec();
    return found;
}

void TNMUDP::readPending()
{
    // Thousands of replies can be waiting after a sweep. Handling them in
    // slices keeps the window responsive: what is left is reported again as
    // soon as other events had their turn.
    QElapsedTimer slice;
    slice.start();
    while (slice.nsecsElapsed() < ReadSliceNs && socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket->receiveDatagram(MaxDatagram);
        if (!datagram.isValid())
            break;
        current = datagram.data();
        currentWait = ArrivalStamp::waitOfLast(socket->socketDescriptor());
        bool ok = false;
        currentSender = datagram.senderAddress().toIPv4Address(&ok);
        if (!ok)
            continue;
        if (OnDataReceived)
            OnDataReceived(this, int(current.size()), ipv4Text(currentSender), datagram.senderPort());
    }
}

void TNMUDP::release()
{
    socket->close();
}

void TNMUDP::ReadDatagram(QByteArray &buff, int &count) const
{
    buff = current;
    count = int(current.size());
}
