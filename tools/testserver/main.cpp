// Emulates the game servers of a JSON file on loopback addresses until SIGINT or
// SIGTERM; SIGUSR1 moves every server with player steps to its next count.
// --any-address lets it serve any address, 0.0.0.0 included, for a test that
// runs it in a network namespace of its own, as a dedicated server stands on a LAN.
#include "serverfarm.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void forwardSignal(int number)
{
    const char byte = char(number);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

bool watchSignals()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return false;
    struct sigaction action = {};
    action.sa_handler = forwardSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGINT, &action, nullptr) == 0 && sigaction(SIGTERM, &action, nullptr) == 0
           && sigaction(SIGUSR1, &action, nullptr) == 0;
}

int fail(int code, const QString &message)
{
    QTextStream(stderr) << "vantor-testserver: " << message << Qt::endl;
    return code;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    // --quiet: no line per request; benchmarks send thousands of them.
    const bool quiet = args.removeAll(QStringLiteral("--quiet")) > 0;
    const bool anyAddress = args.removeAll(QStringLiteral("--any-address")) > 0;
    QString logPath;
    const int logOption = int(args.indexOf(QStringLiteral("--log")));
    if (logOption >= 0 && logOption + 1 < args.size()) {
        logPath = args.takeAt(logOption + 1);
        args.removeAt(logOption);
    }
    if (args.size() != 1 || args[0].startsWith(QLatin1String("--")))
        return fail(2, QStringLiteral("usage: vantor-testserver CONFIG.json [--log FILE] [--quiet] [--any-address]"));

    ServerFarm farm;
    if (anyAddress)
        farm.setAddressScope(AddressScope::AnyAddress);
    if (!farm.loadFile(args[0]))
        return fail(2, farm.errorString());

    QFile logFile;
    if (logPath.isEmpty()) {
        logFile.open(stderr, QIODevice::WriteOnly);
    } else {
        logFile.setFileName(logPath);
        if (!logFile.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
            return fail(2, QStringLiteral("cannot write %1: %2").arg(logPath, logFile.errorString()));
    }
    QTextStream log(&logFile);

    if (!watchSignals())
        return fail(1, QStringLiteral("cannot watch signals"));
    QSocketNotifier notifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, [&] {
        char number = 0;
        if (::read(signalPipe[0], &number, 1) != 1)
            return;
        if (number == SIGUSR1) {
            farm.stepPlayers();
            for (int i = 0; i < farm.serverCount(); ++i)
                log << farm.serverAddress(i).toString() << ':' << farm.serverPort(i) << " players "
                    << farm.players(i) << Qt::endl;
        } else {
            app.quit();
        }
    });

    if (!quiet) {
        QObject::connect(&farm, &ServerFarm::requestReceived, &app,
                         [&](const RequestRecord &record) { log << formatRecord(record) << Qt::endl; });
    }
    if (!farm.start())
        return fail(1, farm.errorString());
    for (int i = 0; i < farm.serverCount(); ++i)
        log << "serving " << farm.serverAddress(i).toString() << ':' << farm.serverPort(i) << Qt::endl;
    QTextStream(stdout) << "ready" << Qt::endl;
    return app.exec();
}
