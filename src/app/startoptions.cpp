#include "app/startoptions.h"
#include "buildinfo.h"

#include <QTextStream>

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

const char *const Help =
    "usage: vantor [QT-OPTION]...\n"
    "       vantor --help | --version\n"
    "\n"
    "Finds running game servers of the Half-Life 1 and Source engine families on\n"
    "the local network, lists them with their players and rules, and starts the\n"
    "game client connected to the chosen one.\n"
    "\n"
    "  -h, --help    print this help and exit\n"
    "  --version     print the version and exit\n"
    "\n"
    "Qt's own options, such as -platform NAME, -display DISPLAY or -style NAME,\n"
    "are accepted too.\n"
    "\n"
    "Settings live in vantor.ini beside the executable when that file exists, or\n"
    "when the folder is writable and not an installed one (/usr, /opt or the\n"
    "install folder); otherwise in $XDG_CONFIG_HOME/vantor/vantor.ini\n"
    "(~/.config/vantor/vantor.ini).\n";

// Qt's own options as QApplication and its platforms (X11, Wayland) take
// them, with one dash or two.
const char *const QtOptionsWithValue[] = {
    "display", "geometry", "icon", "name", "platform", "platformpluginpath", "platformtheme", "plugin",
    "qwindowgeometry", "qwindowicon", "qwindowtitle", "session", "style", "stylesheet", "title", "visual",
};
const char *const QtFlags[] = {"dograb", "nograb", "reverse", "testability", "widgetcount"};
const char *const QtOptionsJoined[] = {"qmljsdebugger=", "style=", "stylesheet="};

bool is(const char *arg, const char *option)
{
    return std::strcmp(arg, option) == 0;
}

// The option's name without its dashes; null for an argument that is no option.
const char *optionName(const char *arg)
{
    if (arg[0] != '-' || arg[1] == '\0')
        return nullptr;
    return arg[1] == '-' ? arg + 2 : arg + 1;
}

template<std::size_t N>
bool listed(const char *name, const char *const (&options)[N])
{
    return std::any_of(std::begin(options), std::end(options), [name](const char *o) { return is(name, o); });
}

bool joinedQtOption(const char *name)
{
    return std::any_of(std::begin(QtOptionsJoined), std::end(QtOptionsJoined),
                       [name](const char *o) { return std::strncmp(name, o, std::strlen(o)) == 0; });
}

int refuse(const QString &arg)
{
    QTextStream(stderr) << "vantor: " << (arg.startsWith(u'-') ? "unknown option " : "unexpected argument ") << arg
                        << '\n'
                        << "Try 'vantor --help' for the options.\n";
    return 2;
}

} // namespace

std::optional<int> StartOptions::answerBeforeQt(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (is(argv[i], "--help") || is(argv[i], "-h")) {
            QTextStream(stdout) << Help;
            return 0;
        }
        if (is(argv[i], "--version")) {
            QTextStream(stdout) << "vantor " << VANTOR_VERSION << '\n';
            return 0;
        }
    }
    for (int i = 1; i < argc; ++i) {
        const char *name = optionName(argv[i]);
        if (name && listed(name, QtOptionsWithValue) && i + 1 < argc)
            ++i;
        else if (!name || !(listed(name, QtFlags) || joinedQtOption(name)))
            return refuse(QString::fromLocal8Bit(argv[i]));
    }
    return std::nullopt;
}

std::optional<int> StartOptions::refuseLeftovers(const QStringList &leftovers)
{
    if (leftovers.isEmpty())
        return std::nullopt;
    return refuse(leftovers.first());
}
