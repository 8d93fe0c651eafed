#pragma once

#include "net/datagramsocket.h"
#include "net/ipv4.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QIODevice;

// A failed operation of the endpoint; callers catch it and run their error path.
class UDPSockError
{
public:
    explicit UDPSockError(QString message) : text(std::move(message)) { }
    const QString &message() const { return text; }

private:
    QString text;
};

// The one UDP socket through which every query goes out and every reply comes in.
// Callers set RemoteHost and RemotePort right before each send. Host names are
// looked up first (LookupHost), in the background. Events are plain callbacks
// so that a handler can answer through its in/out arguments, as the callers expect.
class TNMUDP : public QObject
{
    Q_OBJECT

public:
    using TOnReceive = std::function<void(TNMUDP *Sender, int NumberBytes, const QString &FromIP, int Port)>;
    using TBuffInvalid = std::function<void(bool &handled, QByteArray &Buff, int &length)>;
    using TStreamInvalid = std::function<void(bool &handled, QIODevice *Stream)>;
    using TNotify = std::function<void(TNMUDP *Sender)>;
    using TOnStatus = std::function<void(TNMUDP *Sender, const QString &status)>;

    // Binds to 0.0.0.0:localPort. When that port is taken (a game client on the
    // same machine uses 27005 too), binds to a port the system chooses instead
    // and says so in portStatus(). Sockets come from `newSocket`, Qt's unless
    // the caller chooses.
    explicit TNMUDP(quint16 localPort, QObject *parent = nullptr,
                    DatagramSocketFactory newSocket = newQtDatagramSocket);
    ~TNMUDP() override;

    QString RemoteHost;
    int RemotePort = 27015;
    int ReportLevel = 1;

    // The port actually bound (the requested one, or the fallback).
    int LocalPort() const;
    bool usesFallbackPort() const;
    // Empty while the requested port is in use; otherwise a sentence for the status bar.
    QString portStatus() const;

    // Sends the first `length` bytes of `buff` to RemoteHost:RemotePort, which
    // is dotted IPv4 text. Throws UDPSockError when there is nothing to send or
    // nowhere to send it. Returns whether the system took the datagram; most
    // callers need not care, as a UDP send is never sure to arrive anyway.
    bool SendDatagram(const QByteArray &buff, int length);
    bool SendDatagram(const QByteArray &buff) { return SendDatagram(buff, int(buff.size())); }
    // Sends the datagrams in order, many to a system call where the socket can.
    // OnDataSend follows each, with lastResolvedAddress() its target.
    void SendDatagrams(const std::vector<OutgoingDatagram> &datagrams);

    // Resolves a host name in the background; `done` runs later with its IPv4
    // address (host order), or 0 when it has none, and never after the endpoint is gone.
    void LookupHost(const QString &host, std::function<void(quint32 address)> done);

    // Closes the socket for good (the program is ending); later sends go nowhere.
    void release();

    // Valid inside OnDataReceived: the datagram being reported.
    void ReadDatagram(QByteArray &buff, int &count) const;
    quint32 currentSenderAddress() const { return currentSender; }
    // How long that datagram waited before it was read (0 when the system does not say).
    qint64 currentWaitNs() const { return currentWait; }

    // IPv4 address (host order) that the last send went to.
    quint32 lastResolvedAddress() const { return lastResolved; }

    TOnReceive OnDataReceived;
    TBuffInvalid OnBufferInvalid;
    TStreamInvalid OnStreamInvalid;
    TNotify OnDataSend;
    TOnStatus OnStatus;

private:
    void bindSocket(quint16 port);
    void readPending();
    quint32 resolve(const QString &host);
    void status(const QString &text);

    DatagramSocketFactory newSocket;
    std::unique_ptr<DatagramSocket> socket;
    int requested = 0;
    QByteArray current;
    quint32 currentSender = 0;
    qint64 currentWait = 0;
    quint32 lastResolved = 0;
    // Dotted targets repeat for every packet of a target; parse each text once.
    QString cachedHost;
    quint32 cachedAddress = 0;
};
