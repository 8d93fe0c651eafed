#pragma once

#include "listedserver.h"

#include <QByteArray>
#include <QStringList>
#include <QVector>

// "free", "full" or "password" for the access icon of a row.
QString accessText(int accessIcon);

// The compact JSON object of one server; playerList and rules only when asked for.
QByteArray serverJson(const ListedServer &server, bool withPlayers, bool withRules);

// The servers as an aligned table under a header line, with the players and
// rules of each server indented beneath it when asked for. Control characters
// that the servers sent show as U+FFFD.
QStringList serverTable(const QVector<ListedServer> &servers, bool withPlayers, bool withRules);
