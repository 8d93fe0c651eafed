#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

// Lets one copy of a given title run per user. The first start listens on a
// local socket named after the title; a later start finds it there, asks it
// to come to the front and then ends. Titles that differ (other versions)
// do not meet. On Unix the socket is a file in a folder; in one that other
// users can write to, any of them could take the name first and turn every
// start away, so the user's private runtime folder is used.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // An empty folder leaves the placing to the system (a named pipe on Windows).
    explicit SingleInstance(const QString &title, const QString &folder = defaultFolder(), QObject *parent = nullptr);

    // Unix: the user's runtime folder ($XDG_RUNTIME_DIR, mode 0700), the
    // temporary folder only where there is none. Windows: empty.
    static QString defaultFolder();

    // True when no copy of this title answers: this one then becomes the
    // copy that later starts find. A socket left behind by a crashed copy
    // is removed first.
    bool isFirst();
    // For a later start: asks the first copy to show itself. True when the
    // request went out.
    bool notifyFirst();

    // What a local socket connects to: the socket's full path on Unix.
    QString serverName() const { return name; }

signals:
    // On the first copy, when a later start asks it to come to the front.
    void showRequested();

private:
    bool connectToFirst();
    void acceptConnections();
    void readRequests(QLocalSocket *socket);

    QString name;
    QLocalServer *server = nullptr;
    QLocalSocket *client = nullptr;
};
