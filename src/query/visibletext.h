#pragma once

#include <QString>

// Text that a server sent, made safe to show in a list or print on a
// terminal: every control character (C0, DEL, C1) becomes U+FFFD, so a name
// cannot clear the screen, retitle the terminal or break a row in two. The
// length stays the same, so columns padded before still line up.
QString visibleText(const QString &text);
