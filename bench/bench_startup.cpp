#include "benchmarks.h"
#include "benchwindow.h"

#include "app/program.h"
#include "ui/mainwindow.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QTemporaryDir>

namespace {

constexpr double TargetMs = 300;
constexpr int ShowTimeoutMs = 10000;

// Notes when the window got its first paint, that is, when it is on screen.
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(const QElapsedTimer &started) : clock(started) { }
    qint64 at = -1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && at < 0)
            at = clock.nsecsElapsed();
        return QObject::eventFilter(watched, event);
    }

private:
    const QElapsedTimer &clock;
};

// The program's start-up as it runs: the scan session and the five windows
// in the program's order, the main window shown and painted. The windows are
// then closed as at exit, which saves the configuration.
qint64 startUp(const QString &iniPath)
{
    Program::Options options;
    options.iniPath = iniPath;
    // Port 0: a benchmark must not take the game client's port.
    options.localPort = 0;
    options.registerHotkey = false;
    // The daily check would go to the network.
    options.updateCheck = false;
    Program program(options);

    QElapsedTimer clock;
    FirstPaint painted(clock);
    clock.start();
    if (!program.start())
        throw BenchError("the program did not start");
    program.mainWindow()->installEventFilter(&painted);
    if (!processEventsUntil([&] { return painted.at >= 0; }, ShowTimeoutMs))
        throw BenchError("the main window was not painted");
    const qint64 shown = painted.at;
    program.closeWindows();
    return shown;
}

} // namespace

std::vector<Figure> benchStartup()
{
    QTemporaryDir dir;
    if (!dir.isValid())
        throw BenchError("no temporary directory");
    const QString iniPath = dir.filePath(QStringLiteral("vantor.ini"));

    BestTime best;
    qint64 first = 0;
    for (int run = 0; run < BestOfRuns; ++run) {
        const qint64 shown = startUp(iniPath);
        if (run == 0)
            first = shown;
        best.take(shown);
    }
    Figure figure = durationFigure(QStringLiteral("start-up to shown window"), best.nanoseconds(), TargetMs);
    figure.detail = QStringLiteral("first start in this process %1").arg(millisecondsText(first));
    return {figure};
}
