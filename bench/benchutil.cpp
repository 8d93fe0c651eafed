#include "benchutil.h"

Figure rateFigure(const QString &name, int count, qint64 nanoseconds, double target)
{
    const double seconds = double(qMax<qint64>(nanoseconds, 1)) / 1e9;
    return {name, count / seconds, target, QStringLiteral("/s"), true, 0, {}};
}

Figure durationFigure(const QString &name, qint64 nanoseconds, double targetMs)
{
    return {name, double(nanoseconds) / 1e6, targetMs, QStringLiteral("ms"), false, 1, {}};
}

Figure ratioFigure(const QString &name, qint64 nanoseconds, qint64 referenceNanoseconds, double target)
{
    const double ratio = double(nanoseconds) / double(qMax<qint64>(referenceNanoseconds, 1));
    return {name, ratio, target, QStringLiteral("x"), false, 2, {}};
}

Figure memoryFigure(const QString &name, qint64 bytes, double targetMB)
{
    return {name, double(bytes) / 1e6, targetMB, QStringLiteral("MB"), false, 1, {}};
}

QString millisecondsText(qint64 nanoseconds)
{
    return QString::number(double(nanoseconds) / 1e6, 'f', 1) + QStringLiteral(" ms");
}

QString countText(qint64 count)
{
    QString digits = QString::number(count);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, u',');
    return digits;
}
