#include "benchmarks.h"
#include "benchwindow.h"

#include "scan/autoconnectstate.h"
#include "join/launchstate.h"
#include "net/httpfetch.h"
#include "update/updatechecker.h"
#include "net/networkcards.h"
#include "scan/localaddress.h"
#include "settings/inifile.h"
#include "settings/settingsmodel.h"
#include "ui/about.h"
#include "ui/autoconnect.h"
#include "ui/desktopservices.h"
#include "ui/options.h"
#include "ui/pass.h"
#include "ui/scangames.h"
#include "buildinfo.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QTemporaryDir>

#include <memory>

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

// The program's start-up from the first window on: the five windows in the
// program's order, the main window shown and painted. The windows are then
// destroyed in the reverse order, which saves the configuration.
qint64 startUp(const QString &iniPath)
{
    // The program's own parts, made before its first window.
    SettingsModel settings;
    AutoConnectState autoConnect;
    LaunchState launch;
    IniFile ini(iniPath);
    MessageBoxPrompter prompter;
    DesktopShell shell;
    SystemLocalAddress localAddress;
    SystemNetworkCards networkCards;
    HttpFetch updateFetch;
    // Never asked: the activation that triggers the daily check is not
    // connected, so the benchmark stays off the network.
    UpdateChecker updates({updateFetch, prompter, shell, settings, [] { return QDate::currentDate(); }},
                          QUrl(QStringLiteral("http://127.0.0.1:9/ver.txt")), QStringLiteral(VANTOR_VERSION));

    QElapsedTimer clock;
    FirstPaint painted(clock);
    clock.start();
    // Port 0: a benchmark must not take the game client's port.
    auto form1 = std::make_unique<TForm1>(
        TForm1::Services{settings, autoConnect, launch, prompter, shell, localAddress, networkCards, 0});
    prompter.setParentWindow(form1.get());
    form1->installEventFilter(&painted);
    auto settingsDialog = std::make_unique<TSettings>(settings, ini, prompter, networkCards);
    settingsDialog->loadSettings();
    form1->applySettings();
    form1->setIniFile(&ini);
    auto about = std::make_unique<TFormAbout>(settings, &updates, shell);
    auto pass = std::make_unique<TFormPass>(settings, ini, prompter, launch);
    auto autoDialog = std::make_unique<TFormAuto>(settings, form1->autoConnector());
    form1->show();
    if (!processEventsUntil([&] { return painted.at >= 0; }, ShowTimeoutMs))
        throw BenchError("the main window was not painted");
    const qint64 shown = painted.at;

    autoDialog.reset();
    pass.reset();
    about.reset();
    settingsDialog->saveSettings();
    settingsDialog.reset();
    form1.reset();
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
