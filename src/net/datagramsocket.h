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

// One datagram to send; the bytes stay the caller's.
struct OutgoingDatagram
{
    const char *data = nullptr;
    int length = 0;
    quint32 address = 0; // IPv4, host order
    quint16 port = 0;
    bool taken = false; // set by the send: whether the system took it
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
    // Sends the datagrams in order and marks those the system took; a socket
    // that can hands them to the system in as few calls as it allows.
    virtual void sendBatch(OutgoingDatagram *datagrams, int count)
    {
        for (int i = 0; i < count; ++i)
            datagrams[i].taken = send(datagrams[i].data, datagrams[i].length, datagrams[i].address, datagrams[i].port);
    }
    // Takes the next waiting datagram; false when none is waiting.
    virtual bool read(ReceivedDatagram &datagram) = 0;
    virtual void close() = 0;
    // Resolves a host name to an IPv4 address (host order) in the background:
    // `done` runs later on this socket's thread with the address, or with 0
    // when the name has none. It never runs once the socket is gone.
    virtual void lookupHost(const QString &host, std::function<void(quint32 address)> done) = 0;

    // Called when datagrams are waiting to be read.
    std::function<void()> onReadyRead;
};

using DatagramSocketFactory = std::function<std::unique_ptr<DatagramSocket>()>;

// Qt Network's socket, for the program.
std::unique_ptr<DatagramSocket> newQtDatagramSocket();
// A plain system socket where there is one to use (Unix); Qt's elsewhere.
std::unique_ptr<DatagramSocket> newPlainDatagramSocket();
