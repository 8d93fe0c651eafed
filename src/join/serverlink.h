#pragma once

#include <QString>

// How a listed server is passed on to a friend.

// "ADDRESS:PORT", as a game's console "connect" and other server browsers take it.
QString connectAddress(const QString &address, const QString &portText);
// The link that makes Steam start the game connected to the server.
QString steamConnectLink(const QString &address, const QString &portText);
