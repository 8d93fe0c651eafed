#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>

// One datagram as the endpoint reports it.
struct ReceivedDatagram
{
    QByteArray data;
    quint32 sender = 0; // IPv4, host order
    quint16 port = 0;
    qint64 waitNs = 0; // how long it waited before it was read; 0 when unknown
};

// The IPv4 datagram socket under the endpoint. The program uses Qt's; the
// command-line tool a plain system socket, which spares each of its runs the
// loading of Qt Network.
class DatagramSocket
{
public:
    static constexpr int MaxDatagram = 65507; // the largest UDP payload over IPv4

    virtual ~DatagramSocket() = default;

    // Binds to 0.0.0.0:port exclusively (a port in use fails instead of
    // sharing the replies with another program).
    virtual bool bind(quint16 port) = 0;
    virtual int localPort() const = 0;
    // A number that tells why the last bind failed.
    virtual int errorCode() const = 0;
    // False when the system refused the datagram (no route to the address, say).
    virtual bool send(const char *data, int length, quint32 address, quint16 port) = 0;
    // Takes the next waiting datagram; false when none is waiting.
    virtual bool read(ReceivedDatagram &datagram) = 0;
    virtual void close() = 0;
    // Resolves a host name to an IPv4 address (host order); false when it has none.
    virtual bool lookupHost(const QString &host, quint32 &address) = 0;

    // Called when datagrams are waiting to be read.
    std::function<void()> onReadyRead;
};

using DatagramSocketFactory = std::function<std::unique_ptr<DatagramSocket>()>;

// Qt Network's socket, for the program.
std::unique_ptr<DatagramSocket> newQtDatagramSocket();
// A plain system socket where there is one to use (Unix); Qt's elsewhere.
std::unique_ptr<DatagramSocket> newPlainDatagramSocket();
