#pragma once

#include <QString>

// Negative, zero or positive as text a sorts before, with or after text b,
// ignoring ASCII letter case. The server list and the favourites list sort
// their columns this way.
int compareListText(const QString &a, const QString &b);
