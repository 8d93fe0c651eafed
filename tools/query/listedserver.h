#pragma once

#include "query/detailparse.h"
#include "query/serverinfo.h"
#include "scan/serverlistmodel.h"

#include <QVector>

// One listed server as the tool reports it: its row, the reply that listed it
// and, when asked for, its players and rules.
struct ListedServer
{
    ServerRow row;
    ServerInfo info;
    QVector<PlayerRow> players;
    QVector<RuleRow> rules;
};
