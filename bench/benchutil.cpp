#include "benchutil.h"

Figure rateFigure(const QString &name, int count, qint64 nanoseconds, double target)
{
    const double seconds = double(qMax<qint64>(nanoseconds, 1)) / 1e9;
    return {name, count / seconds, target, QStringLiteral("/s"), true, 0};
}

Figure durationFigure(const QString &name, qint64 nanoseconds, double targetMs)
{
    return {name, double(nanoseconds) / 1e6, targetMs, QStringLiteral("ms"), false, 1};
}
