#pragma once

#include "emulatedserver.h"
#include "requestrecord.h"
#include "serverconfig.h"

#include <QHostAddress>
#include <QJsonObject>
#include <QList>
#include <QObject>

#include <memory>
#include <vector>

class QUdpSocket;
class QTimer;

// Any number of emulated game servers on loopback addresses (or, when allowed,
// on any address: 0.0.0.0 in a network namespace), each answering on
// its own socket, plus an optional broadcast address that fans requests out.
class ServerFarm : public QObject
{
    Q_OBJECT

public:
    explicit ServerFarm(QObject *parent = nullptr);
    ~ServerFarm() override;

    // Addresses outside loopback are refused unless allowed before the load.
    void setAddressScope(AddressScope scope) { m_scope = scope; }
    // Replace the configuration; only while stopped. False with errorString() on a bad one.
    bool load(const QJsonObject &config);
    bool loadFile(const QString &path);
    // Binds every socket; false with errorString() when one cannot be bound.
    bool start();
    void stop();
    bool isRunning() const { return m_running; }
    QString errorString() const { return m_error; }

    int serverCount() const { return int(m_servers.size()); }
    QHostAddress serverAddress(int index) const;
    // The bound port once started (a configured port 0 becomes a free port).
    quint16 serverPort(int index) const;
    quint16 replyPort(int index) const;
    int players(int index) const;
    void setPlayers(int index, int count);
    // Every server with player steps moves on to its next count.
    void stepPlayers();

    QList<RequestRecord> requests() const { return m_requests; }
    void clearRequests() { m_requests.clear(); }

signals:
    void requestReceived(const RequestRecord &record);

private:
    struct Slot;

    bool bindSocket(QUdpSocket *socket, const QHostAddress &address, quint16 port);
    void readServer(Slot *slot);
    void readBroadcast(QUdpSocket *socket);
    QString answerFrom(Slot *slot, const Request &request, const QHostAddress &client, quint16 clientPort);
    void record(RequestRecord record);

    AddressScope m_scope = AddressScope::LoopbackOnly;
    std::optional<QHostAddress> m_broadcast;
    std::vector<std::unique_ptr<Slot>> m_servers;
    std::vector<std::unique_ptr<QUdpSocket>> m_broadcastSockets;
    QList<RequestRecord> m_requests;
    QString m_error;
    bool m_running = false;
};
