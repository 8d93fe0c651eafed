#pragma once

#include "query/serverinfo.h"

#include <QByteArray>
#include <QString>
#include <optional>

// Parsers of the three info replies. Each takes the whole datagram (header
// included) and the sender; a reply whose fixed part is incomplete yields nothing.

// 'm': the Half-Life reply. Its bot count comes from the fields that newer
// servers append (mod block, VAC, bots); without them it is unknown.
std::optional<ServerInfo> AddHL1(const QByteArray &reply, int Port, const QString &FromIP);
// 'I': the Source reply. Trailing data (extra-data block, The Ship's fields) is ignored.
std::optional<ServerInfo> AddCSS(const QByteArray &reply, int Port, const QString &FromIP);

// The old text reply ("infostringresponse" and a \key\value string).
bool isOldInfoReply(const QByteArray &reply);
std::optional<ServerInfo> parseOldInfo(const QByteArray &reply, int Port, const QString &FromIP);

// Value of `key` in an old info string: case-insensitive, the last occurrence
// that a delimiter closes wins; a value without closing delimiter is never taken.
QString ExtractValue(const QString &text, const QString &key, const QString &delimiter);

// Builds the record from the texts of an old reply; nothing when protocol,
// players, max or password is no decimal integer.
std::optional<ServerInfo> AddOld(const QString &gameDir, const QString &description, const QString &protocol,
                                 const QString &hostName, const QString &FromIP, int port, const QString &map,
                                 const QString &players, const QString &max, const QString &os,
                                 const QString &password, const QString &proxy);
