#pragma once

#include <QStringList>

#include <optional>

// The program's own command-line options: --help and --version. The
// arguments are looked at before Qt looks for a display, so that the answers
// and the refusals work on a terminal without one. Qt's options (-platform,
// -display, -style, ...) are Qt's business; whatever else is given is refused.
namespace StartOptions {

// The exit code when the arguments ask for the help or the version text,
// which has then been printed, or hold something that is neither that nor
// one of Qt's options, which has then been reported on stderr; nothing when
// the program should start.
std::optional<int> answerBeforeQt(int argc, char *argv[]);

// The exit code when arguments are left after Qt took its own (an option of
// another platform than the one running), which has then been reported on
// stderr; nothing when none are left.
std::optional<int> refuseLeftovers(const QStringList &leftovers);

} // namespace StartOptions
