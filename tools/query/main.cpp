// Lists the game servers that answer at the given addresses, the way the
// server list would show them, as a table or as JSON lines.
#include "buildinfo.h"
#include "queryoptions.h"
#include "queryoutput.h"
#include "queryrun.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace {

int fail(int code, const QString &message)
{
    QTextStream(stderr) << "vantor-query: " << message << Qt::endl;
    return code;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const ParsedQueryArgs parsed = parseQueryArgs(app.arguments().mid(1));
    if (!parsed.ok())
        return fail(2, parsed.error);
    if (parsed.request != ParsedQueryArgs::Query) {
        QTextStream(stdout) << (parsed.request == ParsedQueryArgs::Help
                                    ? queryHelpText()
                                    : QStringLiteral("vantor-query %1\n").arg(QStringLiteral(VANTOR_VERSION)));
        return 0;
    }
    const QueryOptions &options = parsed.options;

    try {
        QueryRun run(options);
        run.run();
        if (options.json) {
            QByteArray lines;
            for (const ListedServer &server : run.servers())
                lines += serverJson(server, options.players, options.rules) + '\n';
            std::fwrite(lines.constData(), 1, size_t(lines.size()), stdout);
        } else if (!run.servers().isEmpty()) {
            QTextStream out(stdout);
            for (const QString &line : serverTable(run.servers(), options.players, options.rules))
                out << line << '\n';
        }
        return run.servers().isEmpty() ? 1 : 0;
    } catch (const SocketError &e) {
        return fail(1, e.message());
    }
}
