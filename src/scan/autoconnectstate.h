#pragma once

#include <QString>

// The watch on one server that joins it when enough places are free.
// The server list reads it to ignore every other server while it is active.
struct AutoConnectState
{
    bool active = false;
    QString targetAddress;
    QString targetPort; // the Port text of the row; converted where it is used
    int playersWanted = 0;
    int missedPolls = 0;
};
