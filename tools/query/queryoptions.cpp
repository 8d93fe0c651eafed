#include "queryoptions.h"

#include "net/ipv4.h"
#include "scan/addressrange.h"

#include <algorithm>

// Plain character tests instead of regular expressions: compiling those costs
// every run of the tool more than all its arguments take to check.
namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isNameCharacter(QChar c)
{
    return isDigit(c) || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}

// Plain decimal digits only: no sign, no blanks.
bool parseNumber(const QString &text, int &value)
{
    if (text.isEmpty() || text.size() > 9 || !std::all_of(text.begin(), text.end(), isDigit))
        return false;
    value = text.toInt();
    return true;
}

bool parsePort(const QString &text, int &port)
{
    int value = 0;
    if (!parseNumber(text, value) || value < 1 || value > 65535)
        return false;
    port = value;
    return true;
}

bool onlyDigitsAndDots(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return isDigit(c) || c == u'.'; });
}

// Letters, digits, '_', '.' and '-', neither starting with '.' or '-' nor ending with '-'.
bool isHostName(const QString &text)
{
    if (text.isEmpty() || !isNameCharacter(text.front()) || text.back() == u'-')
        return false;
    return std::all_of(text.begin(), text.end(), [](QChar c) { return isNameCharacter(c) || c == u'.' || c == u'-'; });
}

// "HOST", "HOST:PORT" or "FROM-TO[:PORT]"; a port of 0 stands for the --port value.
QString parseTarget(const QString &text, QueryTarget &target)
{
    QString address = text;
    int port = 0;
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0) {
        address = text.left(colon);
        if (!parsePort(text.mid(colon + 1), port))
            return QStringLiteral("invalid port in %1 (1..65535)").arg(text);
    }
    target.port = port;

    // A range starts with a dotted address; host names may hold dashes too.
    const qsizetype dash = address.indexOf(QLatin1Char('-'));
    if (dash > 0 && onlyDigitsAndDots(address.left(dash))) {
        const QString from = address.left(dash);
        const QString to = address.mid(dash + 1);
        quint32 a = 0, b = 0;
        if (!parseIpv4(from, a) || !parseIpv4(to, b))
            return QStringLiteral("invalid range %1 (FROM-TO with two dotted IPv4 addresses)").arg(address);
        // The walk keeps From's first two fields, so a range must not leave them.
        if ((a & 0xFFFF0000u) != (b & 0xFFFF0000u) || rangeAddressCount(a, b) == 0)
            return QStringLiteral("invalid range %1 (empty, or first two fields differ)").arg(address);
        target.host = from;
        target.rangeTo = to;
        return {};
    }

    quint32 ignored = 0;
    const bool valid = onlyDigitsAndDots(address) ? parseIpv4(address, ignored) : isHostName(address);
    if (!valid)
        return QStringLiteral("invalid address %1").arg(address.isEmpty() ? text : address);
    target.host = address;
    return {};
}

const char *const Usage = "usage: vantor-query [--port N] [--old] [--players] [--rules] [--timeout MS] "
                          "[--json] [--lan] TARGET... (TARGET: HOST | HOST:PORT | FROM-TO)";

const char *const Help =
    "usage: vantor-query [--port N] [--old] [--players] [--rules] [--timeout MS] [--json] TARGET...\n"
    "       vantor-query --lan [OPTION]... [TARGET]...\n"
    "       vantor-query --help | --version\n"
    "\n"
    "Asks game servers of the Half-Life 1 and Source engine families for their\n"
    "details and lists every server that answers as a row of Vantor's server list.\n"
    "\n"
    "TARGET is HOST, HOST:PORT, FROM-TO or FROM-TO:PORT; a range FROM-TO covers\n"
    "every address from FROM to TO, which share their first two fields.\n"
    "\n"
    "  --port N      game port of the targets without their own (default 27015)\n"
    "  --old         also ask in the old text protocol\n"
    "  --players     list each server's players under it\n"
    "  --rules       list each server's rules under it\n"
    "  --timeout MS  wait MS milliseconds after the last send (default 1000)\n"
    "  --json        print one JSON object per server and line\n"
    "  --lan         also broadcast through every network card that can, to the\n"
    "                --port port and the LAN ports 27015-27019, and list every\n"
    "                server that answers\n"
    "  -h, --help    print this help and exit\n"
    "  --version     print the version and exit\n"
    "\n"
    "Table columns: Game, Name, Address, Port, PT, Map, Players, Ping (ms), OS, A.\n"
    "JSON keys: access, address, bots, description, game, gameDir, icon, map,\n"
    "maxPlayers, name, os, password, ping, players, port, protocol, proxy; with\n"
    "--players also playerList (name, frags), with --rules also rules (name, value).\n"
    "\n"
    "Exit status: 0 when a server answered, 1 when none did, 2 on bad arguments.\n";

} // namespace

ParsedQueryArgs parseQueryArgs(const QStringList &args)
{
    ParsedQueryArgs result;
    QueryOptions &o = result.options;
    auto fail = [&](const QString &message) {
        result.error = message;
        return result;
    };

    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            result.request = ParsedQueryArgs::Help;
            return result;
        } else if (arg == QLatin1String("--version")) {
            result.request = ParsedQueryArgs::Version;
            return result;
        } else if (arg == QLatin1String("--old")) {
            o.old = true;
        } else if (arg == QLatin1String("--players")) {
            o.players = true;
        } else if (arg == QLatin1String("--rules")) {
            o.rules = true;
        } else if (arg == QLatin1String("--json")) {
            o.json = true;
        } else if (arg == QLatin1String("--lan")) {
            o.lan = true;
        } else if (arg == QLatin1String("--port") || arg == QLatin1String("--timeout")) {
            if (i + 1 >= args.size())
                return fail(QStringLiteral("%1 needs a value").arg(arg));
            const QString value = args[++i];
            if (arg == QLatin1String("--port")) {
                if (!parsePort(value, o.port))
                    return fail(QStringLiteral("invalid port %1 (1..65535)").arg(value));
            } else {
                if (!parseNumber(value, o.timeoutMs))
                    return fail(QStringLiteral("invalid timeout %1 (milliseconds)").arg(value));
            }
        } else if (arg.startsWith(QLatin1Char('-'))) {
            return fail(QStringLiteral("unknown option %1").arg(arg));
        } else {
            QueryTarget target;
            const QString problem = parseTarget(arg, target);
            if (!problem.isEmpty())
                return fail(problem);
            o.targets.append(target);
        }
    }
    if (o.targets.isEmpty() && !o.lan)
        return fail(QStringLiteral("no target given; ") + QLatin1String(Usage));
    for (QueryTarget &target : o.targets) {
        if (target.port == 0)
            target.port = o.port;
    }
    return result;
}

QString queryHelpText()
{
    return QString::fromLatin1(Help);
}
