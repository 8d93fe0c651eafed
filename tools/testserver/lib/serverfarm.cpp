#include "serverfarm.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QNetworkDatagram>
#include <QSet>
#include <QTimer>
#include <QUdpSocket>

#include <type_traits>

namespace {

// The log of a long demo run must not grow without end.
constexpr int kMaxRecords = 10000;

// Unbinds at once but deletes later: stop() may run inside a socket's own signal.
template<typename T>
void dispose(std::unique_ptr<T> &object)
{
    if (!object)
        return;
    object->disconnect();
    if constexpr (std::is_base_of_v<QIODevice, T>)
        object->close();
    object.release()->deleteLater();
}

} // namespace

struct ServerFarm::Slot
{
    explicit Slot(const ServerConfig &config) : server(config) {}

    EmulatedServer server;
    std::unique_ptr<QUdpSocket> listen;
    std::unique_ptr<QUdpSocket> reply;
    std::unique_ptr<QTimer> stepTimer;

    QUdpSocket *sender() const { return reply ? reply.get() : listen.get(); }
};

ServerFarm::ServerFarm(QObject *parent) : QObject(parent) {}

ServerFarm::~ServerFarm() = default;

bool ServerFarm::load(const QJsonObject &config)
{
    if (m_running) {
        m_error = QStringLiteral("cannot load a configuration while running");
        return false;
    }
    const std::optional<FarmConfig> farm = parseFarmConfig(config, &m_error, m_scope);
    if (!farm)
        return false;
    for (int i = 0; i < farm->servers.size(); ++i) {
        const QString problem = EmulatedServer::replyProblem(farm->servers[i]);
        if (!problem.isEmpty()) {
            m_error = QStringLiteral("servers[%1]: %2").arg(i).arg(problem);
            return false;
        }
    }
    m_broadcast = farm->broadcast;
    m_servers.clear();
    for (const ServerConfig &server : farm->servers)
        m_servers.push_back(std::make_unique<Slot>(server));
    return true;
}

bool ServerFarm::loadFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!document.isObject()) {
        m_error = parseError.error == QJsonParseError::NoError
                      ? QStringLiteral("%1: the top level must be an object").arg(path)
                      : QStringLiteral("%1: offset %2: %3").arg(path).arg(parseError.offset).arg(parseError.errorString());
        return false;
    }
    return load(document.object());
}

bool ServerFarm::bindSocket(QUdpSocket *socket, const QHostAddress &address, quint16 port)
{
    // Exclusive binding, so that two farms on one address fail instead of sharing it.
    if (socket->bind(address, port, QAbstractSocket::DontShareAddress))
        return true;
    m_error = QStringLiteral("cannot bind %1:%2: %3").arg(address.toString()).arg(port).arg(socket->errorString());
    return false;
}

bool ServerFarm::start()
{
    if (m_running)
        return true;
    m_running = true;
    QSet<quint16> ports;
    for (const auto &slot : m_servers) {
        const ServerConfig &config = slot->server.config();
        slot->listen = std::make_unique<QUdpSocket>();
        if (!bindSocket(slot->listen.get(), config.address, config.port)) {
            stop();
            return false;
        }
        ports.insert(slot->listen->localPort());
        Slot *raw = slot.get();
        connect(slot->listen.get(), &QUdpSocket::readyRead, this, [this, raw] { readServer(raw); });
        if (config.replyPort) {
            slot->reply = std::make_unique<QUdpSocket>();
            if (!bindSocket(slot->reply.get(), config.address, *config.replyPort)) {
                stop();
                return false;
            }
        }
        if (config.playerSteps && config.playerSteps->intervalMs > 0) {
            slot->stepTimer = std::make_unique<QTimer>();
            connect(slot->stepTimer.get(), &QTimer::timeout, this, [raw] { raw->server.stepPlayers(); });
            slot->stepTimer->start(config.playerSteps->intervalMs);
        }
    }
    if (m_broadcast) {
        for (const quint16 port : ports) {
            auto socket = std::make_unique<QUdpSocket>();
            if (!bindSocket(socket.get(), *m_broadcast, port)) {
                stop();
                return false;
            }
            QUdpSocket *raw = socket.get();
            connect(raw, &QUdpSocket::readyRead, this, [this, raw] { readBroadcast(raw); });
            m_broadcastSockets.push_back(std::move(socket));
        }
    }
    return true;
}

void ServerFarm::stop()
{
    for (auto &socket : m_broadcastSockets)
        dispose(socket);
    m_broadcastSockets.clear();
    for (const auto &slot : m_servers) {
        dispose(slot->listen);
        dispose(slot->reply);
        dispose(slot->stepTimer);
    }
    m_running = false;
}

QHostAddress ServerFarm::serverAddress(int index) const
{
    return m_servers.at(index)->server.config().address;
}

quint16 ServerFarm::serverPort(int index) const
{
    const Slot &slot = *m_servers.at(index);
    return slot.listen ? slot.listen->localPort() : slot.server.config().port;
}

quint16 ServerFarm::replyPort(int index) const
{
    const Slot &slot = *m_servers.at(index);
    return slot.sender() ? slot.sender()->localPort() : slot.server.config().replyPort.value_or(serverPort(index));
}

int ServerFarm::players(int index) const
{
    return m_servers.at(index)->server.players();
}

void ServerFarm::setPlayers(int index, int count)
{
    m_servers.at(index)->server.setPlayers(count);
}

void ServerFarm::stepPlayers()
{
    for (const auto &slot : m_servers)
        slot->server.stepPlayers();
}

QString ServerFarm::answerFrom(Slot *slot, const Request &request, const QHostAddress &client, quint16 clientPort)
{
    const Answer answer = slot->server.answer(request, slot->listen->localPort());
    QString summary = answer.summary;
    for (const QByteArray &datagram : answer.datagrams) {
        if (slot->sender()->writeDatagram(datagram, client, clientPort) != datagram.size()) {
            summary += QStringLiteral(" (send failed: %1)").arg(slot->sender()->errorString());
            break;
        }
    }
    return summary;
}

void ServerFarm::readServer(Slot *slot)
{
    while (slot->listen && slot->listen->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = slot->listen->receiveDatagram();
        const Request request = classifyRequest(datagram.data());
        RequestRecord entry{QDateTime::currentDateTimeUtc(), slot->server.config().address, slot->listen->localPort(),
                            datagram.senderAddress(), quint16(datagram.senderPort()), requestLabel(request),
                            int(datagram.data().size()), QString()};
        entry.reply = answerFrom(slot, request, entry.clientAddress, entry.clientPort);
        record(entry);
    }
}

void ServerFarm::readBroadcast(QUdpSocket *socket)
{
    while (socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket->receiveDatagram();
        const Request request = classifyRequest(datagram.data());
        RequestRecord entry{QDateTime::currentDateTimeUtc(), *m_broadcast, socket->localPort(),
                            datagram.senderAddress(), quint16(datagram.senderPort()), requestLabel(request),
                            int(datagram.data().size()), QString()};
        QStringList answers;
        for (const auto &slot : m_servers) {
            if (slot->listen->localPort() != socket->localPort() || slot->server.config().silent)
                continue;
            answers.append(QStringLiteral("%1 %2").arg(slot->server.config().address.toString(),
                                                       answerFrom(slot.get(), request, entry.clientAddress,
                                                                  entry.clientPort)));
        }
        entry.reply = answers.isEmpty() ? QStringLiteral("none") : answers.join(QStringLiteral("; "));
        record(entry);
    }
}

void ServerFarm::record(RequestRecord entry)
{
    if (m_requests.size() >= kMaxRecords)
        m_requests.removeFirst();
    m_requests.append(entry);
    emit requestReceived(entry);
}
