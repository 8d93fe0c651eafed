#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

// Lets one copy of a given title run per user. The first start listens on a
// local socket named after the title; a later start finds it there, asks it
// to come to the front and then ends. Titles that differ (other versions)
// do not meet.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString &title, QObject *parent = nullptr);

    // True when no copy of this title answers: this one then becomes the
    // copy that later starts find. A socket left behind by a crashed copy
    // is removed first.
    bool isFirst();
    // For a later start: asks the first copy to show itself. True when the
    // request went out.
    bool notifyFirst();

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
