#include "benchmarks.h"

#include "settings/inifile.h"
#include "settings/settingsmodel.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

namespace {

constexpr int FavoriteCount = 1000;
constexpr int RangeCount = 100;
constexpr double TargetMs = 50;

// Short hosts, so that all favourite keys fit in what one section read returns.
void writeFile(const QString &path)
{
    SettingsModel settings;
    for (int k = 0; k < FavoriteCount; ++k)
        settings.favorites.append({QStringLiteral("10.1.%1.%2").arg(k / 250).arg(k % 250 + 1),
                                   QString::number(27015 + k % 6)});
    for (int k = 0; k < RangeCount; ++k)
        settings.ranges.append({k % 3 == 0, QStringLiteral("10.%1.0.1").arg(k), QStringLiteral("10.%1.255.254").arg(k)});
    IniFile ini(path);
    settings.save(ini);
}

} // namespace

std::vector<Figure> benchIni()
{
    QTemporaryDir dir;
    if (!dir.isValid())
        throw BenchError("no temporary directory");
    const QString path = dir.filePath(QStringLiteral("vantor.ini"));
    writeFile(path);

    BestTime best;
    for (int run = 0; run < BestOfRuns; ++run) {
        IniFile ini(path);
        SettingsModel settings;
        QElapsedTimer timer;
        timer.start();
        settings.load(ini);
        settings.save(ini);
        best.take(timer.nsecsElapsed());
        if (settings.favorites.size() != FavoriteCount || settings.ranges.size() != RangeCount)
            throw BenchError(QStringLiteral("loaded %1 favourites and %2 ranges")
                                 .arg(settings.favorites.size())
                                 .arg(settings.ranges.size())
                                 .toStdString());
    }
    return {durationFigure(QStringLiteral("INI load+save"), best.nanoseconds(), TargetMs)};
}
