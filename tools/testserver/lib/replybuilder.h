#pragma once

#include "serverconfig.h"

#include <QByteArray>

// Byte layouts of the replies an emulated server sends; `players` is the count
// reported at the moment, `port` the game port the server listens on.
QByteArray sourceInfoReply(const ServerConfig &server, int players, quint16 port);
QByteArray goldSrcInfoReply(const ServerConfig &server, int players, quint16 port);
QByteArray oldInfoReply(const ServerConfig &server, int players, quint16 port);
QByteArray playersReply(const QList<PlayerEntry> &players);
QByteArray rulesReply(const QList<QPair<QByteArray, QByteArray>> &rules);
QByteArray challengeReply(const QByteArray &challenge);
