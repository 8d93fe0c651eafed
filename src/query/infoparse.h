#pragma once

#include "query/serverinfo.h"

#include <QByteArray>
#include <QString>
#include <optional>

// Parsers of the three info replies. Each takes the whole datagram (header
// included) and the sender; a reply whose fixed part is incomplete yields nothing.

// 'm': the Half-Life reply. Its bot count comes from the fields that newer
// servers append (mod block, VAC, bots); without them it is unknown.
std::optional<ServerInfo> parseHalfLifeInfo(const QByteArray &reply, int Port, const QString &FromIP);
// 'I': the Source reply. Trailing data (extra-data block, The Ship's fields) is ignored.
std::optional<ServerInfo> parseSourceInfo(const QByteArray &reply, int Port, const QString &FromIP);

// The old text reply ("infostringresponse" and a \key\value string).
std::optional<ServerInfo> parseOldInfo(const QByteArray &reply, int Port, const QString &FromIP);

// Value of `key` in an old info string: case-insensitive, the last occurrence
// that a delimiter closes wins; a value without closing delimiter is never taken.
QString infoStringValue(const QString &text, const QString &key, const QString &delimiter);
