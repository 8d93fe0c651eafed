#pragma once

#include "net/datagramsocket.h"
#include "net/ipv4.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

// A failed operation of the endpoint; callers catch it and run their error path.
class SocketError : public std::runtime_error
{
public:
    explicit SocketError(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) { }
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// The one UDP socket through which every query goes out and every reply comes in.
// Host names are looked up first (lookupHost), in the background; a send
// takes dotted IPv4 text only.
class UdpEndpoint : public QObject
{
    Q_OBJECT

public:
    // Binds to 0.0.0.0:localPort. When that port is taken (a game client on the
    // same machine uses 27005 too), binds to a port the system chooses instead
    // and says so in portStatus(). Sockets come from `newSocket`, Qt's unless
    // the caller chooses.
    explicit UdpEndpoint(quint16 localPort, QObject *parent = nullptr,
                         DatagramSocketFactory newSocket = newQtDatagramSocket);
    ~UdpEndpoint() override;

    // The port actually bound (the requested one, or the fallback).
    int localPort() const;
    bool usesFallbackPort() const;
    // Empty while the requested port is in use; otherwise a sentence for the status bar.
    QString portStatus() const;

    // Sends `data` to host:port, host being dotted IPv4 text. Throws
    // SocketError when there is nothing to send or nowhere to send it.
    // Returns whether the system took the datagram.
    bool sendDatagram(const QString &host, int port, const QByteArray &data);
    // Sends the datagrams in order, many to a system call where the socket
    // can, and marks each one the system took.
    void sendDatagrams(std::vector<OutgoingDatagram> &datagrams);

    // Resolves a host name in the background; `done` runs later with its IPv4
    // address (host order), or 0 when it has none, and never after the endpoint is gone.
    void lookupHost(const QString &host, std::function<void(quint32 address)> done);

    // Closes the socket for good (the program is ending); later sends go nowhere.
    void release();

    // IPv4 address (host order) that the last send went to.
    quint32 lastResolvedAddress() const { return m_lastResolved; }

signals:
    void datagramReceived(const ReceivedDatagram &datagram);
    // After each datagram handed to the system, whether it took it or not.
    void datagramSent(quint32 address, quint16 port);

private:
    void bindSocket(quint16 port);
    void readPending();
    quint32 resolve(const QString &host);

    DatagramSocketFactory m_newSocket;
    std::unique_ptr<DatagramSocket> m_socket;
    int m_requested = 0;
    quint32 m_lastResolved = 0;
    // Dotted targets repeat for every packet of a target; parse each text once.
    QString m_cachedHost;
    quint32 m_cachedAddress = 0;
};
