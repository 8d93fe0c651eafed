#include "app/startoptions.h"

#include "app/language.h"
#include "settings/inifile.h"
#include "settings/inilocation.h"
#include "settings/settingsmodel.h"
#include "buildinfo.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstring>

namespace {

//: The help of "vantor --help". Keep the option names and the file names as they are.
const char *const Help = QT_TRANSLATE_NOOP("StartOptions",
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
    "Settings live in vantor.ini beside the executable when that file exists or\n"
    "the folder is writable, otherwise in $XDG_CONFIG_HOME/vantor/vantor.ini\n"
    "(~/.config/vantor/vantor.ini).\n");

bool is(const char *arg, const char *option)
{
    return std::strcmp(arg, option) == 0;
}

} // namespace

std::optional<int> StartOptions::answerInformationRequest(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (is(argv[i], "--help") || is(argv[i], "-h")) {
            // A core application (no display) is enough to find the settings
            // file, whose language the help follows as the windows do.
            int coreArgc = 1;
            QCoreApplication core(coreArgc, argv);
            IniFile ini(IniLocation::forThisProgram());
            Language::installFor(SettingsModel::readLanguage(ini));
            QTextStream(stdout) << QCoreApplication::translate("StartOptions", Help);
            return 0;
        }
        if (is(argv[i], "--version")) {
            QTextStream(stdout) << "vantor " << VANTOR_VERSION << '\n';
            return 0;
        }
    }
    return std::nullopt;
}

std::optional<int> StartOptions::refuseLeftovers(const QStringList &leftovers)
{
    if (leftovers.isEmpty())
        return std::nullopt;
    const QString &first = leftovers.first();
    QTextStream(stderr) << "vantor: " << (first.startsWith(u'-') ? "unknown option " : "unexpected argument ")
                        << first << '\n'
                        << "Try 'vantor --help' for the options.\n";
    return 2;
}
