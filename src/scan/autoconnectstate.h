#pragma once

#include <QString>

// The watch on one server that joins it when enough places are free.
// The server list reads it to ignore every other server while it is active.
struct AutoConnectState
{
    bool active = false;
    QString targetAddress;
    quint16 targetPort = 0;
    int playersWanted = 0;
    int missedPolls = 0;
};
