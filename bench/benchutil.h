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

    bool met() const { return higherIsBetter ? value >= target : value < target; }
};

// `count` items handled in `nanoseconds`, as items per second; target is a minimum.
Figure rateFigure(const QString &name, int count, qint64 nanoseconds, double target);
// A duration in milliseconds; target is a maximum.
Figure durationFigure(const QString &name, qint64 nanoseconds, double targetMs);

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
