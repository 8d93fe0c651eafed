#include "ui/singleinstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

constexpr int connectTimeoutMs = 500;
constexpr int writeTimeoutMs = 1000;
const QByteArray showRequest = "show";

// Local socket names end up as file names (Unix) or pipe names (Windows).
QString socketSafe(QString text)
{
    for (QChar &c : text) {
        const bool safe = (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                          (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                          (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('_') ||
                          c == QLatin1Char('.') || c == QLatin1Char('-');
        if (!safe)
            c = QLatin1Char('_');
    }
    return text;
}

// Where the socket falls back to a folder that all users share, the user
// name keeps the copies of different users apart.
QString userName()
{
    const QString unixName = qEnvironmentVariable("USER");
    return unixName.isEmpty() ? qEnvironmentVariable("USERNAME") : unixName;
}

} // namespace

SingleInstance::SingleInstance(const QString &title, const QString &folder, QObject *parent)
    : QObject(parent)
{
    const QString file = socketSafe(title + QLatin1Char('_') + userName());
    name = folder.isEmpty() ? file : QDir(folder).filePath(file);
}

QString SingleInstance::defaultFolder()
{
#ifdef Q_OS_WIN
    return QString();
#else
    // Qt checks that the runtime folder belongs to this user alone (0700).
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
#endif
}

bool SingleInstance::isFirst()
{
    if (server)
        return true;
    if (connectToFirst())
        return false;
    // Nobody answers, so a socket file that is still there was left by a
    // copy that crashed; listening would fail on it.
    QLocalServer::removeServer(name);
    server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    // A copy that cannot listen still runs; later starts just do not find it.
    server->listen(name);
    return true;
}

bool SingleInstance::notifyFirst()
{
    if (!connectToFirst())
        return false;
    client->write(showRequest + '\n');
    const bool written = client->waitForBytesWritten(writeTimeoutMs);
    client->disconnectFromServer();
    return written;
}

bool SingleInstance::connectToFirst()
{
    if (!client)
        client = new QLocalSocket(this);
    if (client->state() == QLocalSocket::ConnectedState)
        return true;
    client->connectToServer(name);
    return client->waitForConnected(connectTimeoutMs);
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket *socket = server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequests(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        readRequests(socket);
    }
}

void SingleInstance::readRequests(QLocalSocket *socket)
{
    while (socket->canReadLine()) {
        if (socket->readLine().trimmed() == showRequest)
            emit showRequested();
    }
}
