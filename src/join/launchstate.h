#pragma once

#include <QString>

// What the next launch carries: whether a password was confirmed for it, and
// the password argument that every launch appends once one was given.
struct LaunchState
{
    bool passwordGiven = false;
    QString passwordArgument; // empty, or "+password " and the password
};
