#pragma once

#include <QStringList>

#include <optional>

// The program's own command-line options: --help and --version. They are
// answered from the raw arguments, before Qt looks for a display, so that
// they work on a terminal without one. Qt's options (-platform, -display,
// -style, ...) are Qt's business; whatever it leaves is refused.
namespace StartOptions {

// The exit code when the arguments ask for the help or the version text,
// which has then been printed; nothing when the program should start.
std::optional<int> answerInformationRequest(int argc, char *argv[]);

// The exit code when arguments are left after Qt took its own, which has
// then been reported on stderr; nothing when none are left.
std::optional<int> refuseLeftovers(const QStringList &leftovers);

} // namespace StartOptions
