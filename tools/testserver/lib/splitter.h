#pragma once

#include "serverconfig.h"

#include <QByteArray>
#include <QList>

// Cuts a reply into split datagrams (in order, first part first) carrying `id`.
// A reply that fits into one fragment is returned whole.
QList<QByteArray> splitReply(const QByteArray &reply, const SplitConfig &split, quint32 id);

// The most parts one reply may be cut into for the layout.
int maxSplitParts(SplitLayout layout);
