#include "benchmarks.h"

#include <QApplication>
#include <QStringList>

#include <cstdio>

namespace {

// New benchmarks: a file with its function, declared in benchmarks.h and listed here.
const Benchmark benchmarks[] = {
    {"dispatch", benchDispatch},
    {"ini", benchIni},
    {"startup", benchStartup},
    {"sweep", benchSweep},
    {"servers", benchServers},
    {"flood", benchFlood},
    {"filter", benchFilter},
    {"query", benchQuery},
};

QString number(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

void printFigure(const Figure &f)
{
    const QString measured = number(f.value, f.decimals) + u' ' + f.unit;
    const QString target = (f.higherIsBetter ? QStringLiteral(">= ") : QStringLiteral("< "))
        + number(f.target, f.decimals) + u' ' + f.unit;
    std::printf("%-28s %16s   target %-16s %s", qPrintable(f.name), qPrintable(measured), qPrintable(target),
                f.met() ? "PASS" : "FAIL");
    if (!f.detail.isEmpty())
        std::printf("   (%s)", qPrintable(f.detail));
    std::printf("\n");
}

void usage()
{
    std::printf("usage: vantor-bench [--strict] [name]\n  names:");
    for (const Benchmark &b : benchmarks)
        std::printf(" %s", b.id);
    std::printf("\n");
}

} // namespace

int main(int argc, char **argv)
{
    // The windows are measured without a display unless one is chosen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantor"));
    QApplication::setQuitOnLastWindowClosed(false);
    bool strict = false;
    QString filter;
    for (const QString &arg : app.arguments().mid(1)) {
        if (arg == QLatin1String("--strict")) {
            strict = true;
        } else if (arg.startsWith(u'-') || !filter.isEmpty()) {
            usage();
            return 2;
        } else {
            filter = arg;
        }
    }

    int ran = 0;
    int missed = 0;
    for (const Benchmark &b : benchmarks) {
        if (!filter.isEmpty() && !QString::fromLatin1(b.id).contains(filter, Qt::CaseInsensitive))
            continue;
        ++ran;
        try {
            for (const Figure &f : b.run()) {
                printFigure(f);
                missed += f.met() ? 0 : 1;
            }
        } catch (const std::exception &e) {
            std::printf("%-28s ERROR %s\n", b.id, e.what());
            ++missed;
        }
        std::fflush(stdout);
    }
    if (ran == 0) {
        usage();
        return 2;
    }
    return strict && missed > 0 ? 1 : 0;
}
