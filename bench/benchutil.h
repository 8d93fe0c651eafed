#pragma once

#include <QString>
#include <QtGlobal>

#include <limits>
#include <stdexcept>
#include <vector>

// Every timed figure is the best of this many runs: the least disturbed one.
constexpr int BestOfRuns = 5;

// One measured figure and the target it is held against.
struct Figure
{
    QString name;
    double value = 0;
    double target = 0;
    QString unit;
    bool higherIsBetter = true;
    int decimals = 0;
    // What the figure was measured on or compared with, printed after the verdict.
    QString detail;

    bool met() const { return higherIsBetter ? value >= target : value < target; }
};

// `count` items handled in `nanoseconds`, as items per second; target is a minimum.
Figure rateFigure(const QString &name, int count, qint64 nanoseconds, double target);
// A duration in milliseconds; target is a maximum.
Figure durationFigure(const QString &name, qint64 nanoseconds, double targetMs);
// A time as a multiple of a reference time; target is a maximum.
Figure ratioFigure(const QString &name, qint64 nanoseconds, qint64 referenceNanoseconds, double target);
// A size in megabytes (10^6 bytes, the stricter reading of MB); target is a maximum.
Figure memoryFigure(const QString &name, qint64 bytes, double targetMB);

// "1,234 ms" style milliseconds and "65,025" style counts for details.
QString millisecondsText(qint64 nanoseconds);
QString countText(qint64 count);

// Keeps the shortest of several timings.
class BestTime
{
public:
    void take(qint64 nanoseconds) { best = qMin(best, nanoseconds); }
    qint64 nanoseconds() const { return best; }

private:
    qint64 best = std::numeric_limits<qint64>::max();
};

// A benchmark whose setup went wrong (the code under test did not do what the
// measurement relies on), so its figures would mean nothing.
class BenchError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A benchmark: the id that selects it on the command line, and its run.
struct Benchmark
{
    const char *id;
    std::vector<Figure> (*run)();
};
