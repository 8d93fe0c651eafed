#include "net/udpendpoint.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {

constexpr qint64 ReadSliceNs = 5000000;

} // namespace

UdpEndpoint::UdpEndpoint(quint16 localPort, QObject *parent, DatagramSocketFactory factory)
    : QObject(parent), m_newSocket(std::move(factory)), m_requested(localPort)
{
    bindSocket(localPort);
}

UdpEndpoint::~UdpEndpoint() = default;

void UdpEndpoint::bindSocket(quint16 port)
{
    m_socket = m_newSocket();
    if (!m_socket->bind(port)) {
        if (port == 0)
            throw SocketError(QStringLiteral("Unknown Error No. %1").arg(m_socket->errorCode()));
        m_socket = m_newSocket();
        if (!m_socket->bind(0))
            throw SocketError(QStringLiteral("Unknown Error No. %1").arg(m_socket->errorCode()));
    }
    m_socket->onReadyRead = [this] { readPending(); };
}

int UdpEndpoint::localPort() const
{
    return m_socket->localPort();
}

bool UdpEndpoint::usesFallbackPort() const
{
    return m_requested != 0 && localPort() != m_requested;
}

QString UdpEndpoint::portStatus() const
{
    if (!usesFallbackPort())
        return QString();
    //: Status bar: the local UDP port %1 is taken, so the port %2 is used instead.
    return QCoreApplication::translate("ScanStatus", "Port %1 is busy, using %2").arg(m_requested).arg(localPort());
}

bool UdpEndpoint::sendDatagram(const QString &host, int port, const QByteArray &data)
{
    if (data.isEmpty())
        throw SocketError(QStringLiteral("Invalid buffer"));
    if (port <= 0 || port > 65535)
        throw SocketError(QStringLiteral("Invalid Remote Port"));
    const quint32 address = resolve(host);
    if (address == 0)
        throw SocketError(QStringLiteral("Null Remote Address"));
    m_lastResolved = address;

    const bool taken = m_socket->send(data.constData(), int(data.size()), address, quint16(port));
    emit datagramSent(address, quint16(port));
    return taken;
}

void UdpEndpoint::sendDatagrams(std::vector<OutgoingDatagram> &datagrams)
{
    m_socket->sendBatch(datagrams.data(), int(datagrams.size()));
    for (const OutgoingDatagram &d : datagrams) {
        m_lastResolved = d.address;
        emit datagramSent(d.address, d.port);
    }
}

quint32 UdpEndpoint::resolve(const QString &host)
{
    if (host == m_cachedHost && !m_cachedHost.isEmpty())
        return m_cachedAddress;
    quint32 address = 0;
    if (!parseIpv4(host, address))
        throw SocketError(QStringLiteral("Host Lookup Canceled"));
    m_cachedHost = host;
    m_cachedAddress = address;
    return address;
}

void UdpEndpoint::lookupHost(const QString &host, std::function<void(quint32 address)> done)
{
    m_socket->lookupHost(host.trimmed(), std::move(done));
}

void UdpEndpoint::readPending()
{
    // Thousands of replies can be waiting after a sweep. Handling them in
    // slices keeps the window responsive: what is left is reported again as
    // soon as other events had their turn.
    QElapsedTimer slice;
    slice.start();
    ReceivedDatagram datagram;
    while (slice.nsecsElapsed() < ReadSliceNs && m_socket->read(datagram))
        emit datagramReceived(datagram);
}

void UdpEndpoint::release()
{
    m_socket->close();
}
