#pragma once

#include <QString>
#include <array>

// One game of the launch table: how to start its client without and with Steam.
struct LaunchEntry
{
    QString exePath;
    QString params;
    QString steamParams;
    bool steam = false;
};

constexpr int LaunchGameCount = 15;

// Selector items of the games, in table order ("HL", "HL2", "CS1.5", ...).
QString launchGameName(int index);

// The built-in parameters of game `index`; an index outside 0..14 leaves
// `target` unchanged.
void defaultParams(int index, QString &target);
void defaultSteamParams(int index, QString &target);

using LaunchTable = std::array<LaunchEntry, LaunchGameCount>;

// A table holding every game's defaults (empty paths, Steam off).
LaunchTable defaultLaunchTable();
