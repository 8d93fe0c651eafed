#pragma once

#include <QString>

// The full path of the program a shell would start by this bare name: looked
// for on PATH, then in /usr/games, where Debian installs Steam and which not
// every PATH holds. Empty when there is none.
QString findProgramOnPath(const QString &name);
