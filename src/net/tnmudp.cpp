#include "net/tnmudp.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {

constexpr qint64 ReadSliceNs = 5000000;

} // namespace

TNMUDP::TNMUDP(quint16 localPort, QObject *parent, DatagramSocketFactory factory)
    : QObject(parent), newSocket(std::move(factory)), requested(localPort)
{
    bindSocket(localPort);
}

TNMUDP::~TNMUDP() = default;

void TNMUDP::bindSocket(quint16 port)
{
    socket = newSocket();
    if (!socket->bind(port)) {
        if (port == 0)
            throw UDPSockError(QStringLiteral("Unknown Error No. %1").arg(socket->errorCode()));
        socket = newSocket();
        if (!socket->bind(0))
            throw UDPSockError(QStringLiteral("Unknown Error No. %1").arg(socket->errorCode()));
        status(portStatus());
    }
    socket->onReadyRead = [this] { readPending(); };
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
    //: Status bar: the local UDP port %1 is taken, so the port %2 is used instead.
    return QCoreApplication::translate("ScanStatus", "Port %1 is busy, using %2").arg(requested).arg(LocalPort());
}

void TNMUDP::status(const QString &text)
{
    if (OnStatus)
        OnStatus(this, text);
}

bool TNMUDP::SendDatagram(const QByteArray &buff, int length)
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

    const int port = RemotePort;
    if (port <= 0 || port > 65535)
        throw UDPSockError(QStringLiteral("Invalid Remote Port"));
    const quint32 address = resolve(RemoteHost);
    if (address == 0)
        throw UDPSockError(QStringLiteral("Null Remote Address"));
    lastResolved = address;

    const bool taken = socket->send(data.constData(), length, address, quint16(port));
    if (OnDataSend)
        OnDataSend(this);
    return taken;
}

void TNMUDP::SendDatagrams(const std::vector<OutgoingDatagram> &datagrams)
{
    socket->sendBatch(datagrams.data(), int(datagrams.size()));
    for (const OutgoingDatagram &d : datagrams) {
        lastResolved = d.address;
        if (OnDataSend)
            OnDataSend(this);
    }
}

quint32 TNMUDP::resolve(const QString &host)
{
    if (host == cachedHost && !cachedHost.isEmpty())
        return cachedAddress;
    quint32 address = 0;
    if (!parseIpv4(host, address))
        throw UDPSockError(QStringLiteral("Host Lookup Canceled"));
    cachedHost = host;
    cachedAddress = address;
    return address;
}

void TNMUDP::LookupHost(const QString &host, std::function<void(quint32 address)> done)
{
    socket->lookupHost(host.trimmed(), std::move(done));
}

void TNMUDP::readPending()
{
    // Thousands of replies can be waiting after a sweep. Handling them in
    // slices keeps the window responsive: what is left is reported again as
    // soon as other events had their turn.
    QElapsedTimer slice;
    slice.start();
    ReceivedDatagram datagram;
    while (slice.nsecsElapsed() < ReadSliceNs && socket->read(datagram)) {
        current = std::move(datagram.data);
        currentWait = datagram.waitNs;
        currentSender = datagram.sender;
        if (OnDataReceived)
            OnDataReceived(this, int(current.size()), ipv4Text(currentSender), datagram.port);
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
