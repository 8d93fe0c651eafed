#include "net/arrivalstamp.h"
#include "net/datagramsocket.h"

#include <QHostInfo>
#include <QNetworkDatagram>
#include <QNetworkProxy>
#include <QUdpSocket>
#include <QVariant>

namespace {

class QtDatagramSocket : public DatagramSocket
{
public:
    QtDatagramSocket()
    {
        // Queries go straight to the servers on the LAN. Without this the bind
        // asks the system's proxy configuration first, which costs a start-up
        // delay of tens of milliseconds for nothing.
        m_socket.setProxy(QNetworkProxy::NoProxy);
        QObject::connect(&m_socket, &QUdpSocket::readyRead, &m_socket, [this] {
            if (onReadyRead)
                onReadyRead();
        });
    }

    bool bind(quint16 port) override
    {
        if (!m_socket.bind(QHostAddress::AnyIPv4, port, QUdpSocket::DontShareAddress)
            || m_socket.state() != QAbstractSocket::BoundState)
            return false;
        // A sweep can draw thousands of replies at once; give the kernel room for them.
        m_socket.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, QVariant(4 * 1024 * 1024));
        ArrivalStamp::enable(m_socket.socketDescriptor());
        return true;
    }

    int localPort() const override { return m_socket.localPort(); }
    int errorCode() const override { return int(m_socket.error()); }

    bool send(const char *data, int length, quint32 address, quint16 port) override
    {
        return m_socket.writeDatagram(data, length, QHostAddress(address), port) >= 0;
    }

    bool read(ReceivedDatagram &datagram) override
    {
        while (m_socket.hasPendingDatagrams()) {
            const QNetworkDatagram d = m_socket.receiveDatagram(MaxDatagram);
            if (!d.isValid())
                return false;
            bool ok = false;
            datagram.sender = d.senderAddress().toIPv4Address(&ok);
            if (!ok)
                continue;
            datagram.data = d.data();
            datagram.port = quint16(d.senderPort());
            datagram.waitNs = ArrivalStamp::waitOfLast(m_socket.socketDescriptor());
            return true;
        }
        return false;
    }

    void close() override { m_socket.close(); }

    void lookupHost(const QString &host, std::function<void(quint32 address)> done) override
    {
        // The socket is the context: a lookup that ends after it is gone reports nothing.
        QHostInfo::lookupHost(host, &m_socket, [done = std::move(done)](const QHostInfo &info) {
            for (const QHostAddress &a : info.addresses()) {
                if (a.protocol() == QAbstractSocket::IPv4Protocol) {
                    done(a.toIPv4Address());
                    return;
                }
            }
            done(0);
        });
    }

private:
    QUdpSocket m_socket;
};

} // namespace

std::unique_ptr<DatagramSocket> newQtDatagramSocket()
{
    return std::make_unique<QtDatagramSocket>();
}
