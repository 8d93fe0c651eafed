#pragma once

#include "request.h"
#include "serverconfig.h"

#include <QByteArray>
#include <QList>
#include <QString>

// What a server sends back for one request: the datagrams in sending order and a
// short description for the log.
struct Answer
{
    QList<QByteArray> datagrams;
    QString summary;
};

// The answering logic and run-time state of one emulated server, without sockets.
class EmulatedServer
{
public:
    explicit EmulatedServer(const ServerConfig &config);

    const ServerConfig &config() const { return m_config; }
    int players() const { return m_players; }
    void setPlayers(int count);
    // Moves to the next count of the configured steps; no effect without steps.
    void stepPlayers();

    // `port` is the game port the server is bound to (it shows in some replies).
    Answer answer(const Request &request, quint16 port);

    // Why the server's replies cannot be sent as configured, or an empty text.
    static QString replyProblem(const ServerConfig &config);

private:
    enum class Category { Info, Players, Rules };
    struct Reply
    {
        QByteArray bytes;
        Category category;
        QString label;
    };

    QList<Reply> repliesFor(RequestKind kind, quint16 port) const;
    Answer challenge();
    Answer send(const QList<Reply> &replies);
    void renewChallenge();

    ServerConfig m_config;
    QByteArray m_challenge;
    int m_players = 0;
    int m_stepIndex = 0;
    quint32 m_nextSplitId = 1;
};
